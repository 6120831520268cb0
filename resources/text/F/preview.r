# Texts of the preview dialog and its tool tips, in French.

strings 500 "Preview" {
    ""
    ""
    "Enregistrer"
    "Page %s"
    "Fermer"
    "Enregistrer dans :"
    "Ajouter à :"
}

strings 10003 "Preview tool tips" {
    ""
    "Double-cliquez pour agrandir la page. Faites-la glisser pour la déplacer."
    ""
    "Écrire les pages cochées et fermer l’aperçu."
    "Enregistrer les pages cochées. L’aperçu reste ouvert."
}
