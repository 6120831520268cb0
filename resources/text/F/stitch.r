# Texts of the stitch-assist wizard, in French.

strings 11000 "Stitch assist" {
    "Placez la moitié gauche du document face vers le bas sur la vitre, puis cliquez sur Numériser."  # 1
    "Vérifiez la moitié gauche (Retourner si elle est à l’envers). Placez ensuite la moitié droite sur la vitre et cliquez sur Suivant."  # 2
    "Faites glisser la moitié droite, ou déplacez-la avec les flèches, jusqu’à ce que les deux moitiés coïncident. Cliquez sur une moitié pour la mettre devant."  # 3
    "Faites glisser le cadre ou ses poignées autour de la partie à garder."                  # 4
    "Suivant"                                                                                # 5
    "Enregistrer"                                                                            # 6
    "Copier"                                                                                 # 7
    "Continuer"                                                                              # 8
    "Envoyer"                                                                                # 9
}

strings 11001 "Stitch assist titles" {
    "Assemblage : étape 1 sur 4"     # 1
    "Assemblage : étape 2 sur 4"     # 2
    "Assemblage : étape 3 sur 4"     # 3
    "Assemblage : étape 4 sur 4"     # 4
}
