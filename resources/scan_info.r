# The scan-information window: what a File scan will apply while the scanner driver's own
# window is up. Layouts 800 to 802 serve tabs 1 to 3 (their title becomes the tab's), 803
# the File dialog without tabs; the menus and tab titles are shared with the File dialog.

layout 800 "Scan information, tab 1" {
    SIdg {
        title "${SCAN_INFO}"  windowClass 5  bounds 0 0 168 400
        {
            capt { id 200 size 130 16 at 16 16 text "${INFO_MODE}" traits 142 }
            stxt { id 100 size 230 16 at 154 16 text "" traits 142 }
            capt { id 201 size 130 16 at 16 40 text "${INFO_RESOLUTION}" traits 142 }
            stxt { id 101 size 230 16 at 154 40 text "" traits 142 }
            capt { id 202 size 130 16 at 16 64 text "${INFO_SIZE}" traits 142 }
            stxt { id 102 size 230 16 at 154 64 text "" traits 142 }
            capt { id 203 size 130 16 at 16 88 text "${INFO_NAME}" traits 142 }
            stxt { id 103 size 230 16 at 154 88 text "" traits 142 }
            capt { id 204 size 130 16 at 16 112 text "${INFO_FILE_TYPE}" traits 142 }
            stxt { id 104 size 230 16 at 154 112 text "" traits 142 }
            capt { id 205 size 130 16 at 16 136 text "${INFO_FOLDER}" traits 142 }
            stxt { id 105 size 230 16 at 154 136 text "" traits 142 }
        }
    }
}

layout 801 "Scan information, tab 2" {
    SIdg {
        title "${SCAN_INFO}"  windowClass 5  bounds 0 0 168 400
        {
            capt { id 200 size 130 16 at 16 16 text "${INFO_MODE}" traits 142 }
            stxt { id 100 size 230 16 at 154 16 text "" traits 142 }
            capt { id 201 size 130 16 at 16 40 text "${INFO_RESOLUTION}" traits 142 }
            stxt { id 101 size 230 16 at 154 40 text "" traits 142 }
            capt { id 202 size 130 16 at 16 64 text "${INFO_SIZE}" traits 142 }
            stxt { id 102 size 230 16 at 154 64 text "" traits 142 }
            capt { id 203 size 130 16 at 16 88 text "${INFO_NAME}" traits 142 }
            stxt { id 103 size 230 16 at 154 88 text "" traits 142 }
            capt { id 204 size 130 16 at 16 112 text "${INFO_FILE_TYPE}" traits 142 }
            stxt { id 104 size 230 16 at 154 112 text "" traits 142 }
            capt { id 205 size 130 16 at 16 136 text "${INFO_FOLDER}" traits 142 }
            stxt { id 105 size 230 16 at 154 136 text "" traits 142 }
        }
    }
}

layout 802 "Scan information, tab 3" {
    SIdg {
        title "${SCAN_INFO}"  windowClass 5  bounds 0 0 168 400
        {
            capt { id 200 size 130 16 at 16 16 text "${INFO_MODE}" traits 142 }
            stxt { id 100 size 230 16 at 154 16 text "" traits 142 }
            capt { id 201 size 130 16 at 16 40 text "${INFO_RESOLUTION}" traits 142 }
            stxt { id 101 size 230 16 at 154 40 text "" traits 142 }
            capt { id 202 size 130 16 at 16 64 text "${INFO_SIZE}" traits 142 }
            stxt { id 102 size 230 16 at 154 64 text "" traits 142 }
            capt { id 203 size 130 16 at 16 88 text "${INFO_NAME}" traits 142 }
            stxt { id 103 size 230 16 at 154 88 text "" traits 142 }
            capt { id 204 size 130 16 at 16 112 text "${INFO_FILE_TYPE}" traits 142 }
            stxt { id 104 size 230 16 at 154 112 text "" traits 142 }
            capt { id 205 size 130 16 at 16 136 text "${INFO_FOLDER}" traits 142 }
            stxt { id 105 size 230 16 at 154 136 text "" traits 142 }
        }
    }
}

layout 803 "Scan information" {
    SIdg {
        title "${SCAN_INFO}"  windowClass 5  bounds 0 0 168 400
        {
            capt { id 200 size 130 16 at 16 16 text "${INFO_MODE}" traits 142 }
            stxt { id 100 size 230 16 at 154 16 text "" traits 142 }
            capt { id 201 size 130 16 at 16 40 text "${INFO_RESOLUTION}" traits 142 }
            stxt { id 101 size 230 16 at 154 40 text "" traits 142 }
            capt { id 202 size 130 16 at 16 64 text "${INFO_SIZE}" traits 142 }
            stxt { id 102 size 230 16 at 154 64 text "" traits 142 }
            capt { id 203 size 130 16 at 16 88 text "${INFO_NAME}" traits 142 }
            stxt { id 103 size 230 16 at 154 88 text "" traits 142 }
            capt { id 204 size 130 16 at 16 112 text "${INFO_FILE_TYPE}" traits 142 }
            stxt { id 104 size 230 16 at 154 112 text "" traits 142 }
            capt { id 205 size 130 16 at 16 136 text "${INFO_FOLDER}" traits 142 }
            stxt { id 105 size 230 16 at 154 136 text "" traits 142 }
        }
    }
}

# Text traits of the window's texts: size, style, justification (0 left), mode (1 srcOr),
# colour, font number, font name.
data 'Txtr' 142 "Scan information" {
    i16 11  i16 0  i16 0  i16 1  u16 0 0 0  i16 0  pstring[256] ""
}

# Tab titles of the File dialog: version, count, then per tab its icon, title and six
# reserved bytes.
data 'tab#' 5100 "File tabs" {
    u16 1  u16 3
    i16 0  pstring "${FILE_TAB_1}"  zero 6
    i16 0  pstring "${FILE_TAB_2}"  zero 6
    i16 0  pstring "${FILE_TAB_3}"  zero 6
}

# Image modes: the colour kinds, the monochrome kinds, and all of them.
data 'MENU' 5001 "Colour modes" {
    i16 5001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 5002 "Monochrome modes" {
    i16 5002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    u8 0
}

data 'MENU' 5003 "All modes" {
    i16 5003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 5004 "Resolutions" {
    i16 5004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "75 dpi" u8 0 0 0 0
    pstring "100 dpi" u8 0 0 0 0
    pstring "150 dpi" u8 0 0 0 0
    pstring "200 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "400 dpi" u8 0 0 0 0
    u8 0
}

# The File function's three ways of writing PDF: a file per page, one multi-page file, the
# pages added to a copy of a chosen PDF.
data 'MENU' 5006 "File types" {
    i16 5006 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PDF" u8 0 0 0 0
    pstring "${FILE_TYPE_MULTI_PDF}" u8 0 0 0 0
    pstring "${FILE_TYPE_ADD_PDF}" u8 0 0 0 0
    u8 0
}
