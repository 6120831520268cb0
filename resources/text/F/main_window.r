# Texts of the main window and the default file names, in this language.

# Button names (items 1 to 9) and the Settings popup text (10).
strings 300 "Button names" {
    "Copier"  # 1
    "Imprimer"  # 2
    "Courrier"  # 3
    "OCR"  # 4
    "Enreg."  # 5
    "Fichier"  # 6
    "Num.-1"  # 7
    "Num.-2"  # 8
    "Réglages"  # 9
    "Scanner"  # 10
}

strings 310 "Window title" {
    "Wendrix"
}

# Tool tips of the main window.
strings 10001 "Tool tips" {
    "Courrier : numériser et envoyer les pages avec votre messagerie"  # 1
    "Copier : numériser et imprimer aussitôt"  # 2
    "Imprimer : numériser et choisir l’impression"  # 3
    "Enregistrer : numériser et enregistrer les pages"  # 4
    "Num.-1 ou Num.-2 : numériser avec vos réglages et ouvrir le résultat dans votre application"  # 5
    "OCR : numériser et lire le texte avec votre application"  # 6
    "Réglages : choisir le scanner et les dossiers"  # 7
    "Faites glisser ce bouton du scanner vers une fonction qui n’en a pas pour la lancer avec ce bouton"  # 8
    "Fichier : numériser, enregistrer, puis ouvrir les pages dans votre application"  # 9
    "Aide de ce scanner"  # 10
}

# Each function's default base file name, also the first name of its history; the Mail
# dialog's then the label before its folder, or before the PDF a copy is made of.
strings 2000 "Mail dialog" { "Courrier"  "Enregistrer dans :"  "Ajouter à :" }
# The OCR dialog: the default base name, then the name shown when no OCR application is chosen.
strings 3000 "OCR dialog" { "OCR"  "Aucune" }
# The Save dialog's default base name, then the label before its folder, or before the PDF
# the pages are added to.
strings 4000 "Default file name" { "Numerisation"  "Enregistrer dans :"  "Ajouter à :" }
# The File dialog: the default base name, what it shows when no application is chosen, then
# the label before its folder, or before the PDF the pages are added to.
strings 5000 "File dialog" { "Fichier"  "(Aucune application)"  "Enregistrer dans :"  "Ajouter à :" }
# Scan-1's and Scan-2's default base name, then what they show when no application is chosen.
strings 6000 "Default file name" { "Num1"  "(Aucune application)" }
strings 7000 "Default file name" { "Num2"  "(Aucune application)" }

# EXIF texts: the make (1) and the software (8), then the EXIF dialog's values.
strings 601 "EXIF" {
    "Dremlo"
    ""
    "Couleur"
    " pixels"
    "pouce"
    ""
    ""
    "Wendrix 5.0"
    "Monochrome"
    "Inconnue"
    "Scanner de film"
    "Scanner à plat"
    "Appareil photo numérique"
}

# The mail chooser's row that stands for no application.
strings 2100 "Mail application" {
    "(Aucune application)"
}
