# Texts of the main window and the default file names, in this language.

# Button names (items 1 to 9) and the Settings popup text (10).
strings 300 "Button names" {
    "Copy"  # 1
    "Print"  # 2
    "Mail"  # 3
    "OCR"  # 4
    "Save"  # 5
    "File"  # 6
    "Scan-1"  # 7
    "Scan-2"  # 8
    "Settings"  # 9
    "Scanner"  # 10
}

strings 310 "Window title" {
    "Wendrix"
}

# Tool tips of the main window.
strings 10001 "Tool tips" {
    "Mail: scan and send the pages with your mail program"  # 1
    "Copy: scan and print at once"  # 2
    "Print: scan and choose how to print"  # 3
    "Save: scan and save the pages as files"  # 4
    "Scan-1 or Scan-2: scan with your own settings and open the result in your application"  # 5
    "OCR: scan and read the text with your OCR application"  # 6
    "Settings: choose the scanner and the folders"  # 7
    "Drag this scanner-button mark to a function without one to run that function with the button"  # 8
    "File: scan and save the pages, then open them in your application"  # 9
    "Help for this scanner"  # 10
}

# Each function's default base file name, also the first name of its history; the Mail
# dialog's then the label before its folder, or before the PDF a copy is made of.
strings 2000 "Mail dialog" { "Mail"  "Save to:"  "Add to:" }
# The OCR dialog: the default base name, then the name shown when no OCR application is chosen.
strings 3000 "OCR dialog" { "OCR"  "None" }
# The Save dialog's default base name, then the label before its folder, or before the PDF
# the pages are added to.
strings 4000 "Default file name" { "Scan"  "Save to:"  "Add to:" }
# The File dialog: the default base name, what it shows when no application is chosen, then
# the label before its folder, or before the PDF the pages are added to.
strings 5000 "File dialog" { "File"  "(No application)"  "Save to:"  "Add to:" }
# Scan-1's and Scan-2's default base name, then what they show when no application is chosen.
strings 6000 "Default file name" { "Scan1"  "(No application)" }
strings 7000 "Default file name" { "Scan2"  "(No application)" }

# EXIF texts: the make (1) and the software (8), then the EXIF dialog's values.
strings 601 "EXIF" {
    "Dremlo"
    ""
    "Colour"
    " pixels"
    "inch"
    ""
    ""
    "Wendrix 5.0"
    "Monochrome"
    "Unknown"
    "Film scanner"
    "Reflection print scanner"
    "Digital camera"
}

# The mail chooser's row that stands for no application.
strings 2100 "Mail application" {
    "(No application)"
}
