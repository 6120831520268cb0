# Texts of the page straightening's alerts, in German.

# Stop alert 129: what failed; items 7 and 12 are followed by the framework's status.
strings 129 "Straightening errors" {
    "Die Seitendatei konnte nicht geöffnet werden."                             # 1
    "Die Größe der Seitendatei konnte nicht gelesen werden."                    # 2
    "Der Speicher reicht nicht, um die Seite gerade zu richten."                # 3
    "Die Seitendatei konnte nicht gelesen werden."                              # 4
    "Die Seitendatei ist keine TIFF-Datei, die gerade gerichtet werden kann."   # 5
    ""                                                                          # 6 (not used)
    "Das Geraderichten konnte nicht beginnen. Fehler:"                          # 7
    ""                                                                          # 8 (not used)
    ""                                                                          # 9 (not used)
    ""                                                                          # 10 (not used)
    ""                                                                          # 11 (not used)
    "Die Seite konnte nicht gerade gerichtet werden. Fehler:"                   # 12
    "Die gerade gerichtete Seite konnte nicht geschrieben werden."              # 13
    "Die gerade gerichtete Seite konnte das Original nicht ersetzen; es bleibt erhalten."  # 14
}

# Note alert 130.
strings 130 "Straightening" {
    ""                                                                          # 1 (not used)
    "Die Seite wurde gerade gerichtet."                                         # 2
}
