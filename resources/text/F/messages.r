# Texts of the shared alert and the option sub-dialogs, in French.

# The error list: item n is shown by the alert of the hub. Items with "%s" take one text
# (a number or a name) in its place; "%%" shows a percent sign.
strings 400 "Messages" {
    ""                                                                          # 1 (not used)
    "Wendrix n'a pas pu ouvrir sa fenêtre ou ses dossiers et va quitter."       # 2
    "L'opération n'a pas pu aboutir : le fichier n'a pas pu être écrit, ou le scanner n'a pas pu démarrer."  # 3
    "Ce système n'offre pas un service dont Wendrix a besoin. Wendrix va quitter."  # 4
    "Cette version du système est trop ancienne pour Wendrix. Wendrix va quitter."  # 5
    "Le scanner n'a pas pu être ouvert. Vérifiez qu'il est branché et allumé."  # 6
    "Pages numérisées jusqu'ici : %s. Numériser une autre page ?"               # 7
    "Les pages numérisées non enregistrées seront perdues. Continuer ?"         # 8
    "Revenir en arrière ? La mise en page sera perdue."                         # 9
    "Oublier l'application choisie ?"                                           # 10
    ""                                                                          # 11 (not used)
    "Entrez une échelle de 25 à 400 pour cent."                                 # 12
    "Vous ne pouvez pas enregistrer de fichiers dans ce dossier. Choisissez un autre dossier."  # 13
    "Un nom de fichier ne peut contenir ni deux-points, ni barre oblique, ni barre oblique inverse."  # 14
    "Le nom de fichier est trop long. Utilisez 20 caractères au plus."          # 15
    "Entrez un nom de fichier."                                                 # 16
    "Aucune application n'est choisie pour recevoir les fichiers numérisés. Choisissez-en une."  # 17
    "Aucune application d'OCR n'est choisie. Choisissez-en une."                # 18
    "Entrez une largeur de 2,54 à 21,6 cm."                                     # 19
    "Entrez une hauteur de 2,54 à 29,7 cm."                                     # 20
    "Entrez une largeur de 1 à 8,5 pouces."                                     # 21
    "Entrez une hauteur de 1 à 11,69 pouces."                                   # 22
    "Une valeur dépasse les limites en pouces : l'unité reste le centimètre."   # 23
    "Une valeur dépasse les limites en centimètres : l'unité reste le pouce."   # 24
    "Cette fonction a déjà un bouton du scanner."                               # 25
    "Aucune imprimante n'est configurée. Ajoutez une imprimante et réessayez."  # 26
    "Des pages numérisées sont encore dans l'aperçu. Ouvrir l'aperçu pour les enregistrer ?"  # 27
    "L'image aurait 4096 pixels de large ou plus. Choisissez une résolution plus basse ou une zone plus petite."  # 28
    "Wendrix ne peut pas lire ou enregistrer son fichier de réglages. Les modifications des réglages ne seront pas conservées."  # 29
    "Ce nom de fichier est impossible. Il ne doit ni commencer par un point, ni ne contenir que des espaces."  # 30
    "Ajouter les pages numérisées à « %s » ?"                                   # 31
    "Choisissez le fichier PDF auquel ajouter les pages."                       # 32
    "Le fichier PDF n'a pas pu être ouvert."                                    # 33
    "Aucune imprimante n'est configurée. Ajoutez une imprimante et réessayez."  # 34
    "Le fichier PDF ne peut pas être modifié. Il est peut-être protégé ou endommagé."  # 35
    "Numériser à nouveau cette moitié ? La moitié numérisée sera perdue."       # 36
    "L'image est trop grande. Choisissez une zone plus petite ou une résolution plus basse."  # 37
    "Les images à 16 bits par couleur ne sont pas prises en charge. Choisissez 8 bits dans les réglages du scanner."  # 38
    "La mémoire est insuffisante pour assembler les deux moitiés."              # 39
    "Vous ne pouvez pas écrire dans ce dossier. Choisissez un autre dossier pour les fichiers temporaires."  # 40
    "Pages numérisées jusqu'ici : %s. Appuyez sur le bouton du scanner pour une autre page, ou cliquez sur Terminer."  # 41
    "Ce bouton du scanner ne répond pas au message affiché."                    # 42
    "Fermer et abandonner les pages non enregistrées ?"                         # 43
    "Fermer et abandonner les pages non classées ?"                             # 44
    "Fermer et abandonner les pages numérisées non transmises ?"                # 45
    "Fermer et abandonner les pages non envoyées par e-mail ?"                  # 46
    "Le fichier n'a pas pu être copié car le disque est plein."                 # 47
    "L'espace disque libre est insuffisant pour cette numérisation."            # 48
    "La page est trop grande pour un fichier PDF. Choisissez une zone plus petite ou une résolution plus basse."  # 49
    "Aucun scanner n'est choisi. Cliquez sur Réglages et choisissez votre scanner."  # 50
}

# Texts around the document size and the choosers.
strings 10000 "Sizes and prompts" {
    "Personnalisé"                              # 1: popup text before the size
    " cm"                                       # 2
    " po"                                       # 3
    "%"                                         # 4: after a custom scale
    "Choisissez un dossier pour les fichiers temporaires."  # 5
    "Choisissez une application."               # 6
    "Choisissez un fichier PDF auquel ajouter les pages."  # 7
}

# Texts of the font sub-dialog.
strings 1200 "Font" {
    "Choisissez la couleur du texte."           # 1: prompt of the colour picker
}

# Why the scanner stopped a scan.
strings 410 "Scanner faults" {
    "Du papier est coincé dans le scanner. Retirez la feuille coincée, puis numérisez à nouveau."  # 1: a jam
    "Le capot du scanner est ouvert. Fermez-le, puis numérisez à nouveau."  # 2: an open cover
    "Le chargeur ne contient aucun document. Chargez les pages, puis numérisez à nouveau."  # 3: an empty feeder
    "Le scanner a signalé une erreur et s'est arrêté. Vérifiez qu'il est branché et allumé, puis numérisez à nouveau."  # 4: any other fault of the scanner
}
