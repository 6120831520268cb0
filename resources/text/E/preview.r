# Texts of the preview dialog and its tool tips, in English.

strings 500 "Preview" {
    ""                              # 1 (not used)
    ""                              # 2 (not used)
    "Save"                          # 3: the send button when the pages are saved
    "Page %s"                       # 4: a page of one document, by its number
    "Close"                         # 5: the cancel button
    "Save to:"                      # 6
    "Add to:"                       # 7
}

strings 10003 "Preview tool tips" {
    ""                                                          # 1 (not used)
    "Double-click to enlarge the page. Drag it to move it."     # 2
    ""                                                          # 3 (not used)
    "Write the checked pages and close the preview."            # 4
    "Save the checked pages. The preview stays open."           # 5
}
