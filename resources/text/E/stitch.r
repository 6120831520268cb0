# Texts of the stitch-assist wizard, in English.

strings 11000 "Stitch assist" {
    "Place the left half of the document face down on the glass, then click Scan."          # 1
    "Check the left half (Turn Over if it is upside down). Now place the right half on the glass and click Next."  # 2
    "Drag the right half, or move it with the arrow keys, until both halves match. Click a half to bring it to the front."  # 3
    "Drag the frame or its handles around the part to keep."                                # 4
    "Next"                                                                                   # 5
    "Save"                                                                                   # 6
    "Copy"                                                                                   # 7
    "Continue"                                                                               # 8
    "Send"                                                                                   # 9
}

strings 11001 "Stitch assist titles" {
    "Stitch Assist: Step 1 of 4"     # 1
    "Stitch Assist: Step 2 of 4"     # 2
    "Stitch Assist: Step 3 of 4"     # 3
    "Stitch Assist: Step 4 of 4"     # 4
}
