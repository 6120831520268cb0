# The Save dialog: source, image mode, resolution, size and file type; where the files go
# (a folder, or the PDF the pages are added to); the base name with its history.

layout 4000 "Save" {
    Sdlg {
        title "${SAVE_TITLE}"  windowClass 4  bounds 0 0 410 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LMOD' size 140 16 at 20 18 text "${SAVE_SOURCE}" }
            Cpop { id 'MODE' size 260 20 at 170 16 title "" menu 4000 message 'MODE' value 1 }
            capt { id 'LIMG' size 140 16 at 20 46 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 44 title "" menu 4001 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 74 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 72 title "" menu 4003 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 102 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 100 title "" menu 4006 message 'SIZE' value 1 }
            capt { id 'LTYP' size 140 16 at 20 130 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 128 title "" menu 4008 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 128 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'UION' size 410 18 at 20 162 title "${SAVE_DRIVER_WINDOW}" message 'UION' max 1 }
            cbox { id 'SVAD' size 410 18 at 20 186 title "${SAVE_ADOBE_RGB}" message 'SVAD' max 1 }
            cbox { id 'SPRE' size 410 18 at 20 210 title "${SAVE_PREVIEW}" message 'SPRE' max 1 }
            cbox { id 'DYIN' size 410 18 at 20 234 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 258 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 294 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 290 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 291 title "" menu 0 message 'PuFN' }
            capt { id 'TOTX' size 140 16 at 20 326 text "" }
            capt { id 'FOLD' size 200 32 at 170 326 text "" }
            push { id 'SCT1' size 72 20 at 376 323 title "${SAVE_CHOOSE}" message 'SCT1' }
            push { id 'DFLT' size 80 20 at 20 370 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 370 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 370 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 370 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 4000 "Save controls" {
    u16 18
    type 'MODE'  type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FTYP'  type 'PDFS'
    type 'UION'  type 'SVAD'  type 'SPRE'  type 'DYIN'  type 'EZFN'  type 'PuFN'
    type 'SCT1'  type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'  type 'FNAM'
}

data 'MENU' 4000 "Save sources" {
    i16 4000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${SOURCE_PLATEN}" u8 0 0 0 0
    pstring "${SOURCE_FILM}" u8 0 0 0 0
    pstring "${SOURCE_LAST}" u8 0 0 0 0
    u8 0
}

# Platen image modes, in the order of their codes' items.
data 'MENU' 4001 "Save platen modes" {
    i16 4001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 4002 "Save film modes" {
    i16 4002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_NEGATIVE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}

data 'MENU' 4003 "Save platen resolutions" {
    i16 4003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "75 dpi" u8 0 0 0 0
    pstring "100 dpi" u8 0 0 0 0
    pstring "150 dpi" u8 0 0 0 0
    pstring "200 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "400 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    pstring "800 dpi" u8 0 0 0 0
    pstring "1200 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 4004 "Save film resolutions" {
    i16 4004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 4007 "Save film sizes" {
    i16 4007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_STRIP}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    u8 0
}

data 'MENU' 4008 "Save file types" {
    i16 4008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    pstring "PDF" u8 0 0 0 0
    pstring "${FILE_TYPE_MULTI_PDF}" u8 0 0 0 0
    pstring "${FILE_TYPE_ADD_PDF}" u8 0 0 0 0
    u8 0
}

# Film modes of the model whose adapter reads slides only.
data 'MENU' 4010 "Save film modes, slide adapter" {
    i16 4010 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}
