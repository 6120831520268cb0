# Texts of the main window and the default file names, in this language.

# Button names (items 1 to 9) and the Settings popup text (10).
strings 300 "Button names" {
    "Kopie"  # 1
    "Drucken"  # 2
    "Mail"  # 3
    "OCR"  # 4
    "Sichern"  # 5
    "Ablage"  # 6
    "Scan-1"  # 7
    "Scan-2"  # 8
    "Optionen"  # 9
    "Scanner"  # 10
}

strings 310 "Window title" {
    "Wendrix"
}

# Tool tips of the main window.
strings 10001 "Tool tips" {
    "Mail: scannen und die Seiten mit Ihrem Mailprogramm senden"  # 1
    "Kopie: scannen und sofort drucken"  # 2
    "Drucken: scannen und den Druck einstellen"  # 3
    "Sichern: scannen und die Seiten als Dateien sichern"  # 4
    "Scan-1 oder Scan-2: mit eigenen Einstellungen scannen und im Programm öffnen"  # 5
    "OCR: scannen und den Text mit Ihrem Programm lesen"  # 6
    "Optionen: Scanner und Ordner wählen"  # 7
    "Ziehen Sie diese Scannertaste auf eine Funktion ohne Taste, um sie mit der Taste zu starten"  # 8
    "Ablage: scannen, sichern und in Ihrem Programm öffnen"  # 9
    "Hilfe zu diesem Scanner"  # 10
}

# Each function's default base file name, also the first name of its history; the Mail
# dialog's then the label before its folder, or before the PDF a copy is made of.
strings 2000 "Mail dialog" { "Mail"  "Sichern in:"  "Hinzufügen zu:" }
# The OCR dialog: the default base name, then the name shown when no OCR application is chosen.
strings 3000 "OCR dialog" { "OCR"  "Keines" }
# The Save dialog's default base name, then the label before its folder, or before the PDF
# the pages are added to.
strings 4000 "Default file name" { "Scan"  "Sichern in:"  "Hinzufügen zu:" }
# The File dialog: the default base name, what it shows when no application is chosen, then
# the label before its folder, or before the PDF the pages are added to.
strings 5000 "File dialog" { "Ablage"  "(Kein Programm)"  "Sichern in:"  "Hinzufügen zu:" }
# Scan-1's and Scan-2's default base name, then what they show when no application is chosen.
strings 6000 "Default file name" { "Scan1"  "(Kein Programm)" }
strings 7000 "Default file name" { "Scan2"  "(Kein Programm)" }

# EXIF texts: the make (1) and the software (8), then the EXIF dialog's values.
strings 601 "EXIF" {
    "Dremlo"
    ""
    "Farbe"
    " Pixel"
    "Zoll"
    ""
    ""
    "Wendrix 5.0"
    "Schwarzweiß"
    "Unbekannt"
    "Filmscanner"
    "Flachbettscanner"
    "Digitalkamera"
}

# The mail chooser's row that stands for no application.
strings 2100 "Mail application" {
    "(Kein Programm)"
}
