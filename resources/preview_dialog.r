# The preview dialog: layout 500 with its control list, the file-type menus of its callers
# (the item orders are fixed: the code maps items to file types) and the caption traits.
# The page view stretches with its scroller when the dialog grows by a row; the controls
# below it move down.

layout 500 "Preview" {
    dlog 'DPRE' {
        title "${PREVIEW_TITLE}"  windowClass 4  bounds 0 0 330 660  defaultButton 'SEND'  cancelButton 'BTCN'
        {
            scrl { id 'SCRL' size 530 175 at 20 20 bind 1 1 0 1 scrollingView 'THUV'
                {
                    view 'PREV' { id 'THUV' size 515 160 at 0 0 bind 1 1 0 1 }
                }
            }
            push { id 'R270' size 98 20 at 556 20 title "${PREVIEW_TURN_LEFT}" message 'R270' }
            push { id 'R090' size 98 20 at 556 48 title "${PREVIEW_TURN_RIGHT}" message 'R090' }
            push { id 'SETE' size 98 20 at 556 86 title "${PREVIEW_EXIF}" message 'SETE' }
            capt { id 'TXFT' size 90 16 at 20 214 bind 0 0 0 1 text "${PREVIEW_FILE_TYPE}" }
            Cpop { id 'FTYP' size 190 20 at 112 210 bind 0 0 0 1 title "" menu 503 message 'FTYP' value 1 }
            push { id 'SETI' size 110 20 at 316 210 bind 0 0 0 1 title "${PREVIEW_SETTINGS}" message 'SETI' }
            capt { id 'TOTX' size 90 16 at 20 246 bind 0 0 0 1 text "" }
            capt { id 'FOLD' size 330 16 at 112 246 bind 0 0 0 1 text "" }
            push { id 'SANS' size 90 20 at 452 242 bind 0 0 0 1 title "${PREVIEW_BROWSE}" message 'SANS' }
            cbox { id 'DYIN' size 300 18 at 112 270 bind 0 0 0 1 title "${PREVIEW_DAY_FOLDER}" message 'DYIN' max 1 }
            push { id 'RTUN' size 110 20 at 20 298 bind 0 0 0 1 title "${PREVIEW_SCAN_MORE}" message 'RTUN' }
            push { id 'BTCN' size 90 20 at 450 298 bind 0 0 0 1 title "${CANCEL}" message 901 }
            push { id 'SEND' size 90 20 at 550 298 bind 0 0 0 1 title "${PREVIEW_SEND}" message 'SEND' default 1 }
        }
    }
}

data 'RidL' 500 {
    u16 9
    i32 'R270' 'R090' 'SETE' 'FTYP' 'SETI' 'SANS' 'DYIN' 'RTUN' 'SEND'
}

# Mail: JPEG, PDF, PDF multi-page, PDF append.
data 'MENU' 501 "Preview file types, Mail" {
    i16 501 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "JPEG" u8 0 0 0 0
    pstring "PDF" u8 0 0 0 0
    pstring "${FILE_TYPE_MULTI_PDF}" u8 0 0 0 0
    pstring "${FILE_TYPE_ADD_PDF}" u8 0 0 0 0
    u8 0
}

# No caller uses this one; it has the Save function's items.
data 'MENU' 502 "Preview file types, unused" {
    i16 502 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    u8 0
}

# Save: PICT, JPEG, TIFF, PDF, PDF multi-page, PDF append.
data 'MENU' 503 "Preview file types, Save" {
    i16 503 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    pstring "PDF" u8 0 0 0 0
    pstring "${FILE_TYPE_MULTI_PDF}" u8 0 0 0 0
    pstring "${FILE_TYPE_ADD_PDF}" u8 0 0 0 0
    u8 0
}

# File: PDF, PDF multi-page, PDF append.
data 'MENU' 504 "Preview file types, File" {
    i16 504 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PDF" u8 0 0 0 0
    pstring "${FILE_TYPE_MULTI_PDF}" u8 0 0 0 0
    pstring "${FILE_TYPE_ADD_PDF}" u8 0 0 0 0
    u8 0
}

# Scan-1, Scan-2 and the print layout: PICT, JPEG, TIFF.
data 'MENU' 505 "Preview file types, Scan-1" {
    i16 505 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    u8 0
}

data 'MENU' 506 "Preview file types, Scan-2" {
    i16 506 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    u8 0
}

data 'MENU' 507 "Preview file types, print layout" {
    i16 507 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "PICT" u8 0 0 0 0
    pstring "JPEG" u8 0 0 0 0
    pstring "TIFF" u8 0 0 0 0
    u8 0
}

# The thumbnails' captions: 10 points, plain, centred, black.
data 'Txtr' 137 "Thumbnail caption" {
    i16 10  i16 0  i16 1  i16 1  u16 0 0 0  i16 0  pstring[256] ""
}
