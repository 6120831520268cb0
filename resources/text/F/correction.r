# Texts of the page straightening's alerts, in French.

# Stop alert 129: what failed; items 7 and 12 are followed by the framework's status.
strings 129 "Straightening errors" {
    "Le fichier de la page n'a pas pu être ouvert."                             # 1
    "La taille du fichier de la page n'a pas pu être lue."                      # 2
    "La mémoire ne suffit pas pour redresser la page."                          # 3
    "Le fichier de la page n'a pas pu être lu."                                 # 4
    "Le fichier de la page n'est pas un fichier TIFF pouvant être redressé."    # 5
    ""                                                                          # 6 (not used)
    "Le redressement n'a pas pu démarrer. Erreur :"                             # 7
    ""                                                                          # 8 (not used)
    ""                                                                          # 9 (not used)
    ""                                                                          # 10 (not used)
    ""                                                                          # 11 (not used)
    "La page n'a pas pu être redressée. Erreur :"                               # 12
    "La page redressée n'a pas pu être enregistrée."                            # 13
    "La page redressée n'a pas pu remplacer l'originale, qui est conservée."    # 14
}

# Note alert 130.
strings 130 "Straightening" {
    ""                                                                          # 1 (not used)
    "La page a été redressée."                                                  # 2
}
