# The OCR dialog: image mode, resolution, document size and file type; the folder the
# files go to, their base name with its history, and the OCR application they are handed to.

layout 3000 "OCR" {
    dlog 'Odlg' {
        title "${OCR_TITLE}"  windowClass 4  bounds 0 0 390 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LIMG' size 140 16 at 20 18 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 16 title "" menu 3004 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 46 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 44 title "" menu 3001 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 74 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 72 title "" menu 3002 message 'SIZE' value 1 }
            capt { id 'LTYP' size 140 16 at 20 102 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 100 title "" menu 3005 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 100 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'DYIN' size 410 18 at 20 134 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 158 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 194 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 190 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 191 title "" menu 0 message 'PuFN' }
            capt { id 'LFOL' size 140 16 at 20 226 text "${INFO_FOLDER}" }
            capt { id 'FOLD' size 200 32 at 170 226 text "" }
            push { id 'SCT1' size 72 20 at 376 223 title "${SAVE_CHOOSE}" message 'SCT1' }
            capt { id 'LAPP' size 140 16 at 20 276 text "${OCR_APPLICATION}" }
            Ccib { id 'AICN' size 32 32 at 170 268 icon 450 pushedIcon 450 }
            capt { id 'SCNA' size 168 32 at 206 268 text "" }
            push { id 'SCT2' size 72 20 at 376 264 title "${SAVE_CHOOSE}" message 'SCT2' }
            push { id 'LKDL' size 72 20 at 376 290 title "${APP_FORGET}" message 'LKDL' }
            push { id 'DFLT' size 80 20 at 20 340 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 340 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 340 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 340 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to; the history popup also tells it before and after
# its menu is open.
data 'RidL' 3000 "OCR controls" {
    u16 16
    type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FTYP'  type 'PDFS'  type 'DYIN'  type 'EZFN'  type 'PuFN'
    type 'FNAM'  type 'SCT1'  type 'SCT2'  type 'LKDL'  type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'
}

# Image modes; item k is image-mode code k.
data 'MENU' 3000 "OCR modes" {
    i16 3000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    u8 0
}

data 'MENU' 3004 "OCR modes, colour" {
    i16 3004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    u8 0
}

data 'MENU' 3001 "OCR resolutions" {
    i16 3001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "300 dpi" u8 0 0 0 0
    pstring "400 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 3003 "OCR file types" {
    i16 3003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    u8 0
}

data 'MENU' 3005 "OCR file types, colour" {
    i16 3005 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    u8 0
}
