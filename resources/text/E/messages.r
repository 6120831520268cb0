# Texts of the shared alert and the option sub-dialogs, in English.

# The error list: item n is shown by the alert of the hub. Items with "%s" take one text
# (a number or a name) in its place; "%%" shows a percent sign.
strings 400 "Messages" {
    ""                                                                          # 1 (not used)
    "Wendrix could not open its window or its folders and will quit."          # 2
    "The operation could not be completed: the file could not be written, or the scanner could not start."  # 3
    "This system does not offer a service that Wendrix needs. Wendrix will quit."  # 4
    "This version of the system is too old for Wendrix. Wendrix will quit."     # 5
    "The scanner could not be opened. Check that it is connected and switched on."  # 6
    "Pages scanned so far: %s. Scan another page?"                              # 7
    "The scanned pages that have not been saved will be discarded. Continue?"   # 8
    "Go back? The page layout will be discarded."                               # 9
    "Forget the chosen application?"                                            # 10
    ""                                                                          # 11 (not used)
    "Enter a scale from 25 to 400 percent."                                     # 12
    "You may not save files in this folder. Choose another folder."             # 13
    "A file name cannot contain a colon, a slash or a backslash."               # 14
    "The file name is too long. Use at most 20 characters."                     # 15
    "Enter a file name."                                                        # 16
    "No application is chosen to receive the scanned files. Choose one now."      # 17
    "No OCR application is chosen. Choose one now."                             # 18
    "Enter a width from 2.54 to 21.6 cm."                                       # 19
    "Enter a height from 2.54 to 29.7 cm."                                      # 20
    "Enter a width from 1 to 8.5 inches."                                       # 21
    "Enter a height from 1 to 11.69 inches."                                    # 22
    "A value is outside the limits for inches, so the unit stays centimetres."  # 23
    "A value is outside the limits for centimetres, so the unit stays inches."  # 24
    "This function already has a scanner button."                               # 25
    "No printer is set up. Add a printer and try again."                        # 26
    "Some scanned pages are still in the preview. Open the preview to save them?"  # 27
    "The image would be 4096 pixels wide or more. Choose a lower resolution or a smaller area."  # 28
    "Wendrix cannot read or save its settings file. Changes to the settings will not be kept."  # 29
    "This file name cannot be used. It must not start with a period or be only spaces."  # 30
    "Add the scanned pages to \"%s\"?"                                          # 31
    "Choose the PDF file to add the pages to."                                  # 32
    "The PDF file could not be opened."                                         # 33
    "No printer is set up. Add a printer and try again."                        # 34
    "The PDF file cannot be changed. It may be protected or damaged."           # 35
    "Scan this half again? The scanned half will be discarded."                 # 36
    "The image is too large. Choose a smaller area or a lower resolution."      # 37
    "Images with 16 bits per colour are not supported. Choose 8 bits in the scanner settings."  # 38
    "There is not enough memory to join the two halves."                        # 39
    "You may not write in this folder. Choose another folder for temporary files."  # 40
    "Pages scanned so far: %s. Press the scanner button to scan another page, or click Finish."  # 41
    "This scanner button does not answer the open message."                     # 42
    "Close and discard the pages that have not been saved?"                     # 43
    "Close and discard the pages that have not been filed?"                     # 44
    "Close and discard the scanned pages that have not been sent on?"           # 45
    "Close and discard the pages that have not been mailed?"                    # 46
    "The file could not be copied because the disk is full."                    # 47
    "There is not enough free disk space for this scan."                        # 48
    "The page is too large for a PDF file. Choose a smaller area or a lower resolution."  # 49
    "No scanner is chosen. Click Settings and choose your scanner."                 # 50
}

# Texts around the document size and the choosers.
strings 10000 "Sizes and prompts" {
    "Custom"                                    # 1: popup text before the size
    " cm"                                       # 2
    " in"                                       # 3
    "%"                                         # 4: after a custom scale
    "Choose a folder for temporary files."      # 5
    "Choose an application."                    # 6
    "Choose a PDF file to add the pages to."    # 7
}

# Texts of the font sub-dialog.
strings 1200 "Font" {
    "Choose the colour of the text."            # 1: prompt of the colour picker
}

# Why the scanner stopped a scan.
strings 410 "Scanner faults" {
    "Paper is jammed in the scanner. Remove the jammed sheet, then scan again."  # 1: a jam
    "The scanner's cover is open. Close it, then scan again."  # 2: an open cover
    "There is no document in the feeder. Load the pages, then scan again."  # 3: an empty feeder
    "The scanner reported an error and stopped. Check that it is connected and switched on, then scan again."  # 4: any other fault of the scanner
}
