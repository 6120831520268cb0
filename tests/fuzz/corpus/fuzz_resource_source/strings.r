# String lists of the application.

# Item 1 is the language letter that selects the user-interface language at start-up.
strings 128 "Language" {
    "${LANGUAGE}"
}
