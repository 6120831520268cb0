# Texts of the page straightening's alerts, in English.

# Stop alert 129: what failed; items 7 and 12 are followed by the framework's status.
strings 129 "Straightening errors" {
    "The page file could not be opened."                                        # 1
    "The size of the page file could not be read."                              # 2
    "There is not enough memory to straighten the page."                        # 3
    "The page file could not be read."                                          # 4
    "The page file is not a TIFF file that can be straightened."                # 5
    ""                                                                          # 6 (not used)
    "The straightening could not be started. Error:"                            # 7
    ""                                                                          # 8 (not used)
    ""                                                                          # 9 (not used)
    ""                                                                          # 10 (not used)
    ""                                                                          # 11 (not used)
    "The page could not be straightened. Error:"                                # 12
    "The straightened page could not be written."                               # 13
    "The straightened page could not replace the original, which is kept."      # 14
}

# Note alert 130.
strings 130 "Straightening" {
    ""                                                                          # 1 (not used)
    "The page has been straightened."                                           # 2
}
