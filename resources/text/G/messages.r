# Texts of the shared alert and the option sub-dialogs, in German.

# The error list: item n is shown by the alert of the hub. Items with "%s" take one text
# (a number or a name) in its place; "%%" shows a percent sign.
strings 400 "Messages" {
    ""                                                                          # 1 (not used)
    "Wendrix konnte sein Fenster oder seine Ordner nicht öffnen und wird beendet."  # 2
    "Der Vorgang konnte nicht abgeschlossen werden: Die Datei konnte nicht geschrieben werden oder der Scanner konnte nicht starten."  # 3
    "Dieses System bietet einen Dienst nicht an, den Wendrix benötigt. Wendrix wird beendet."  # 4
    "Diese Systemversion ist für Wendrix zu alt. Wendrix wird beendet."         # 5
    "Der Scanner konnte nicht geöffnet werden. Prüfen Sie, ob er angeschlossen und eingeschaltet ist."  # 6
    "Bisher gescannte Seiten: %s. Eine weitere Seite scannen?"                  # 7
    "Gescannte Seiten, die nicht gesichert sind, werden verworfen. Fortfahren?" # 8
    "Zurückgehen? Das Seitenlayout wird verworfen."                             # 9
    "Das gewählte Programm vergessen?"                                          # 10
    ""                                                                          # 11 (not used)
    "Geben Sie einen Maßstab von 25 bis 400 Prozent ein."                       # 12
    "In diesem Ordner dürfen Sie keine Dateien sichern. Wählen Sie einen anderen Ordner."  # 13
    "Ein Dateiname darf keinen Doppelpunkt, Schrägstrich oder umgekehrten Schrägstrich enthalten."  # 14
    "Der Dateiname ist zu lang. Verwenden Sie höchstens 20 Zeichen."            # 15
    "Geben Sie einen Dateinamen ein."                                           # 16
    "Es ist kein Programm gewählt, das die gescannten Dateien erhält. Wählen Sie jetzt eines."  # 17
    "Es ist kein OCR-Programm gewählt. Wählen Sie jetzt eines."                 # 18
    "Geben Sie eine Breite von 2,54 bis 21,6 cm ein."                           # 19
    "Geben Sie eine Höhe von 2,54 bis 29,7 cm ein."                             # 20
    "Geben Sie eine Breite von 1 bis 8,5 Zoll ein."                             # 21
    "Geben Sie eine Höhe von 1 bis 11,69 Zoll ein."                             # 22
    "Ein Wert liegt außerhalb der Grenzen für Zoll, daher bleibt die Einheit Zentimeter."  # 23
    "Ein Wert liegt außerhalb der Grenzen für Zentimeter, daher bleibt die Einheit Zoll."  # 24
    "Diese Funktion hat bereits eine Scannertaste."                             # 25
    "Es ist kein Drucker eingerichtet. Fügen Sie einen Drucker hinzu und versuchen Sie es erneut."  # 26
    "In der Vorschau sind noch gescannte Seiten. Die Vorschau öffnen, um sie zu sichern?"  # 27
    "Das Bild wäre 4096 Pixel breit oder breiter. Wählen Sie eine niedrigere Auflösung oder einen kleineren Bereich."  # 28
    "Wendrix kann seine Einstellungsdatei nicht lesen oder sichern. Änderungen an den Einstellungen werden nicht beibehalten."  # 29
    "Dieser Dateiname ist nicht möglich. Er darf nicht mit einem Punkt beginnen oder nur aus Leerzeichen bestehen."  # 30
    "Die gescannten Seiten zu „%s“ hinzufügen?"                                 # 31
    "Wählen Sie die PDF-Datei, zu der die Seiten hinzugefügt werden."           # 32
    "Die PDF-Datei konnte nicht geöffnet werden."                               # 33
    "Es ist kein Drucker eingerichtet. Fügen Sie einen Drucker hinzu und versuchen Sie es erneut."  # 34
    "Die PDF-Datei kann nicht geändert werden. Sie ist vielleicht geschützt oder beschädigt."  # 35
    "Diese Hälfte erneut scannen? Die gescannte Hälfte wird verworfen."         # 36
    "Das Bild ist zu groß. Wählen Sie einen kleineren Bereich oder eine niedrigere Auflösung."  # 37
    "Bilder mit 16 Bit pro Farbe werden nicht unterstützt. Wählen Sie 8 Bit in den Scannereinstellungen."  # 38
    "Der Speicher reicht nicht aus, um die beiden Hälften zusammenzufügen."     # 39
    "In diesem Ordner dürfen Sie nicht schreiben. Wählen Sie einen anderen Ordner für temporäre Dateien."  # 40
    "Bisher gescannte Seiten: %s. Drücken Sie die Scannertaste für eine weitere Seite oder klicken Sie auf „Fertig“."  # 41
    "Diese Scannertaste beantwortet die angezeigte Meldung nicht."              # 42
    "Schließen und die nicht gesicherten Seiten verwerfen?"                     # 43
    "Schließen und die nicht abgelegten Seiten verwerfen?"                      # 44
    "Schließen und die nicht weitergegebenen gescannten Seiten verwerfen?"      # 45
    "Schließen und die nicht per E-Mail gesendeten Seiten verwerfen?"           # 46
    "Die Datei konnte nicht kopiert werden, weil der Datenträger voll ist."     # 47
    "Für diesen Scan ist nicht genug freier Speicherplatz vorhanden."           # 48
    "Die Seite ist zu groß für eine PDF-Datei. Wählen Sie einen kleineren Bereich oder eine niedrigere Auflösung."  # 49
    "Es ist kein Scanner gewählt. Klicken Sie auf Optionen und wählen Sie Ihren Scanner."  # 50
}

# Texts around the document size and the choosers.
strings 10000 "Sizes and prompts" {
    "Eigene Größe"                              # 1: popup text before the size
    " cm"                                       # 2
    " Zoll"                                     # 3
    "%"                                         # 4: after a custom scale
    "Wählen Sie einen Ordner für temporäre Dateien."  # 5
    "Wählen Sie ein Programm."                  # 6
    "Wählen Sie eine PDF-Datei, zu der die Seiten hinzugefügt werden."  # 7
}

# Texts of the font sub-dialog.
strings 1200 "Font" {
    "Wählen Sie die Farbe des Textes."          # 1: prompt of the colour picker
}

# Why the scanner stopped a scan.
strings 410 "Scanner faults" {
    "Im Scanner ist Papier gestaut. Entfernen Sie das gestaute Blatt und scannen Sie erneut."  # 1: a jam
    "Der Deckel des Scanners ist offen. Schließen Sie ihn und scannen Sie erneut."  # 2: an open cover
    "Im Einzug liegt kein Dokument. Legen Sie die Seiten ein und scannen Sie erneut."  # 3: an empty feeder
    "Der Scanner hat einen Fehler gemeldet und angehalten. Prüfen Sie, ob er angeschlossen und eingeschaltet ist, und scannen Sie erneut."  # 4: any other fault of the scanner
}
