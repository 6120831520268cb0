# The units after the sizes the page-layout dialog shows: inches, centimetres, pixels.
strings 1100 "Layout units" {
    " in" " cm" " pixels"
}
