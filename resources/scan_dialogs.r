# The Scan-1 and Scan-2 dialogs: source, image mode, resolution, size and file type; the
# folder and base name of the files with the name history; the application that receives
# them, chosen, dropped on the dialog or removed. One layout each, the same controls.

layout 6000 "Scan-1" {
    S1lg {
        title "${SCAN1_TITLE}"  windowClass 4  bounds 0 0 450 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LMOD' size 140 16 at 20 18 text "${SAVE_SOURCE}" }
            Cpop { id 'MODE' size 260 20 at 170 16 title "" menu 6000 message 'MODE' value 1 }
            capt { id 'LIMG' size 140 16 at 20 46 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 44 title "" menu 6001 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 74 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 72 title "" menu 6003 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 102 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 100 title "" menu 6006 message 'SIZE' value 1 }
            capt { id 'LTYP' size 140 16 at 20 130 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 128 title "" menu 6008 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 128 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'UION' size 410 18 at 20 162 title "${SAVE_DRIVER_WINDOW}" message 'UION' max 1 }
            cbox { id 'SVAD' size 410 18 at 20 186 title "${SAVE_ADOBE_RGB}" message 'SVAD' max 1 }
            cbox { id 'SPRE' size 410 18 at 20 210 title "${SAVE_PREVIEW}" message 'SPRE' max 1 }
            cbox { id 'DYIN' size 410 18 at 20 234 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 258 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 294 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 290 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 291 title "" menu 0 message 'PuFN' }
            capt { id 'LFOL' size 140 16 at 20 326 text "${INFO_FOLDER}" }
            capt { id 'FOLD' size 200 32 at 170 326 text "" }
            push { id 'SCT1' size 72 20 at 376 323 title "${SAVE_CHOOSE}" message 'SCT1' }
            capt { id 'LAPP' size 140 16 at 20 372 text "${SCAN_OPEN_WITH}" }
            Ccib { id 'FICN' size 32 32 at 170 364 icon 430 pushedIcon 430 }
            capt { id 'SCNA' size 160 16 at 210 372 text "" }
            push { id 'SCT2' size 72 20 at 376 360 title "${SAVE_CHOOSE}" message 'SCT2' }
            push { id 'LKDL' size 72 20 at 376 384 title "${SCAN_REMOVE_APP}" message 'LKDL' }
            push { id 'DFLT' size 80 20 at 20 420 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 420 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 420 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 420 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 6000 "Scan-1 controls" {
    u16 20
    type 'MODE'  type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FTYP'  type 'PDFS'  type 'UION'
    type 'SVAD'  type 'SPRE'  type 'DYIN'  type 'EZFN'  type 'PuFN'  type 'SCT1'  type 'SCT2'
    type 'LKDL'  type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'  type 'FNAM'
}

data 'MENU' 6000 "Scan-1 sources" {
    i16 6000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${SOURCE_PLATEN}" u8 0 0 0 0
    pstring "${SOURCE_FILM}" u8 0 0 0 0
    pstring "${SOURCE_LAST}" u8 0 0 0 0
    u8 0
}

# Platen image modes, in the order of their codes' items.
data 'MENU' 6001 "Scan-1 platen modes" {
    i16 6001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 6002 "Scan-1 film modes" {
    i16 6002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_NEGATIVE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}

data 'MENU' 6003 "Scan-1 platen resolutions" {
    i16 6003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

data 'MENU' 6004 "Scan-1 film resolutions" {
    i16 6004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 6007 "Scan-1 film sizes" {
    i16 6007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_STRIP}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    u8 0
}

data 'MENU' 6008 "Scan-1 file types" {
    i16 6008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    u8 0
}

# Film modes of the model whose adapter reads slides only.
data 'MENU' 6010 "Scan-1 film modes, slide adapter" {
    i16 6010 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}

layout 7000 "Scan-2" {
    S2lg {
        title "${SCAN2_TITLE}"  windowClass 4  bounds 0 0 450 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LMOD' size 140 16 at 20 18 text "${SAVE_SOURCE}" }
            Cpop { id 'MODE' size 260 20 at 170 16 title "" menu 7000 message 'MODE' value 1 }
            capt { id 'LIMG' size 140 16 at 20 46 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 44 title "" menu 7001 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 74 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 72 title "" menu 7003 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 102 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 100 title "" menu 7006 message 'SIZE' value 1 }
            capt { id 'LTYP' size 140 16 at 20 130 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 128 title "" menu 7008 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 128 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'UION' size 410 18 at 20 162 title "${SAVE_DRIVER_WINDOW}" message 'UION' max 1 }
            cbox { id 'SVAD' size 410 18 at 20 186 title "${SAVE_ADOBE_RGB}" message 'SVAD' max 1 }
            cbox { id 'SPRE' size 410 18 at 20 210 title "${SAVE_PREVIEW}" message 'SPRE' max 1 }
            cbox { id 'DYIN' size 410 18 at 20 234 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 258 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 294 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 290 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 291 title "" menu 0 message 'PuFN' }
            capt { id 'LFOL' size 140 16 at 20 326 text "${INFO_FOLDER}" }
            capt { id 'FOLD' size 200 32 at 170 326 text "" }
            push { id 'SCT1' size 72 20 at 376 323 title "${SAVE_CHOOSE}" message 'SCT1' }
            capt { id 'LAPP' size 140 16 at 20 372 text "${SCAN_OPEN_WITH}" }
            Ccib { id 'FICN' size 32 32 at 170 364 icon 430 pushedIcon 430 }
            capt { id 'SCNA' size 160 16 at 210 372 text "" }
            push { id 'SCT2' size 72 20 at 376 360 title "${SAVE_CHOOSE}" message 'SCT2' }
            push { id 'LKDL' size 72 20 at 376 384 title "${SCAN_REMOVE_APP}" message 'LKDL' }
            push { id 'DFLT' size 80 20 at 20 420 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 420 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 420 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 420 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 7000 "Scan-2 controls" {
    u16 20
    type 'MODE'  type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FTYP'  type 'PDFS'  type 'UION'
    type 'SVAD'  type 'SPRE'  type 'DYIN'  type 'EZFN'  type 'PuFN'  type 'SCT1'  type 'SCT2'
    type 'LKDL'  type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'  type 'FNAM'
}

data 'MENU' 7000 "Scan-2 sources" {
    i16 7000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${SOURCE_PLATEN}" u8 0 0 0 0
    pstring "${SOURCE_FILM}" u8 0 0 0 0
    pstring "${SOURCE_LAST}" u8 0 0 0 0
    u8 0
}

# Platen image modes, in the order of their codes' items.
data 'MENU' 7001 "Scan-2 platen modes" {
    i16 7001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 7002 "Scan-2 film modes" {
    i16 7002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_NEGATIVE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}

data 'MENU' 7003 "Scan-2 platen resolutions" {
    i16 7003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

data 'MENU' 7004 "Scan-2 film resolutions" {
    i16 7004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 7007 "Scan-2 film sizes" {
    i16 7007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_STRIP}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    u8 0
}

data 'MENU' 7008 "Scan-2 file types" {
    i16 7008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    u8 0
}

# Film modes of the model whose adapter reads slides only.
data 'MENU' 7010 "Scan-2 film modes, slide adapter" {
    i16 7010 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}
