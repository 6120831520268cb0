# Texts of the preview dialog and its tool tips, in German.

strings 500 "Preview" {
    ""
    ""
    "Sichern"
    "Seite %s"
    "Schließen"
    "Sichern in:"
    "Hinzufügen zu:"
}

strings 10003 "Preview tool tips" {
    ""
    "Doppelklicken vergrößert die Seite. Ziehen verschiebt sie."
    ""
    "Die markierten Seiten schreiben und die Vorschau schließen."
    "Die markierten Seiten sichern. Die Vorschau bleibt offen."
}
