# The Mail dialog: image mode, resolution, document size, the size a file may have and the
# file type; where the files go (a folder, or the PDF a copy is made of), their base name
# with its history, and the mail application they are handed to.

layout 2000 "Mail" {
    dlog 'Mdlg' {
        title "${MAIL_TITLE}"  windowClass 4  bounds 0 0 440 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LIMG' size 140 16 at 20 18 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 16 title "" menu 2000 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 46 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 44 title "" menu 2003 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 74 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 72 title "" menu 2001 message 'SIZE' value 1 }
            capt { id 'LMAX' size 140 16 at 20 102 text "${MAIL_LIMIT}" }
            Cpop { id 'FMAX' size 260 20 at 170 100 title "" menu 2002 message 'FMAX' value 1 }
            capt { id 'LTYP' size 140 16 at 20 130 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 128 title "" menu 2004 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 128 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'UION' size 410 18 at 20 162 title "${SAVE_DRIVER_WINDOW}" message 'UION' max 1 }
            cbox { id 'SPRE' size 410 18 at 20 186 title "${SAVE_PREVIEW}" message 'SPRE' max 1 }
            cbox { id 'DYIN' size 410 18 at 20 210 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 234 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 270 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 266 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 267 title "" menu 0 message 'PuFN' }
            capt { id 'TOTX' size 140 16 at 20 302 text "" }
            capt { id 'FOLD' size 200 32 at 170 302 text "" }
            push { id 'SCT1' size 72 20 at 376 299 title "${SAVE_CHOOSE}" message 'SCT1' }
            capt { id 'LAPP' size 148 16 at 20 352 text "${MAIL_APPLICATION}" }
            Ccib { id 'AICN' size 32 32 at 170 344 icon 480 pushedIcon 480 }
            capt { id 'SCNA' size 168 32 at 206 344 text "" }
            push { id 'SCT2' size 72 20 at 376 340 title "${SAVE_CHOOSE}" message 'SCT2' }
            push { id 'DFLT' size 80 20 at 20 396 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 396 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 396 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 396 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to; the history popup also tells it before and after
# its menu is open.
data 'RidL' 2000 "Mail controls" {
    u16 18
    type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FMAX'  type 'FTYP'  type 'PDFS'  type 'UION'
    type 'SPRE'  type 'DYIN'  type 'EZFN'  type 'PuFN'  type 'FNAM'  type 'SCT1'  type 'SCT2'
    type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'
}

# Image modes, in the order of their codes' items.
data 'MENU' 2000 "Mail modes" {
    i16 2000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

# The size a file may have.
data 'MENU' 2002 "Mail size limits" {
    i16 2002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 KB" u8 0 0 0 0
    pstring "300 KB" u8 0 0 0 0
    pstring "600 KB" u8 0 0 0 0
    pstring "900 KB" u8 0 0 0 0
    u8 0
}

data 'MENU' 2003 "Mail resolutions" {
    i16 2003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

data 'MENU' 2004 "Mail file types" {
    i16 2004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "JPEG" u8 0 0 0 0
    pstring "PDF" u8 0 0 0 0
    pstring "${FILE_TYPE_MULTI_PDF}" u8 0 0 0 0
    pstring "${FILE_TYPE_ADD_PDF}" u8 0 0 0 0
    u8 0
}
