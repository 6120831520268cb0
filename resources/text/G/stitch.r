# Texts of the stitch-assist wizard, in German.

strings 11000 "Stitch assist" {
    "Legen Sie die linke Hälfte der Vorlage mit der Vorderseite nach unten auf das Glas und klicken Sie auf Scannen."  # 1
    "Prüfen Sie die linke Hälfte (Umdrehen, wenn sie kopfsteht). Legen Sie nun die rechte Hälfte auf das Glas und klicken Sie auf Weiter."  # 2
    "Ziehen Sie die rechte Hälfte oder bewegen Sie sie mit den Pfeiltasten, bis beide Hälften passen. Ein Klick bringt eine Hälfte nach vorn."  # 3
    "Ziehen Sie den Rahmen oder seine Griffe um den Teil, der bleiben soll."                 # 4
    "Weiter"                                                                                 # 5
    "Sichern"                                                                                # 6
    "Kopieren"                                                                               # 7
    "Fortfahren"                                                                             # 8
    "Senden"                                                                                 # 9
}

strings 11001 "Stitch assist titles" {
    "Zusammenfügen: Schritt 1 von 4"     # 1
    "Zusammenfügen: Schritt 2 von 4"     # 2
    "Zusammenfügen: Schritt 3 von 4"     # 3
    "Zusammenfügen: Schritt 4 von 4"     # 4
}
