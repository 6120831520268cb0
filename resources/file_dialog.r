# The File dialog: image mode, resolution, document size and which PDF to write (one file a
# page, one multi-page file, or the pages added to a copy of a chosen PDF); where the files
# go, their base name with its history, and the application they are opened in. Layout 5050
# has a tab for each of the three File buttons of seven-button scanners; layout 5000 serves
# four-button scanners and has none.

layout 5000 "File" {
    dlog 'Fdlg' {
        title "${FILE_TITLE}"  windowClass 4  bounds 0 0 420 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LIMG' size 140 16 at 20 18 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 16 title "" menu 5003 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 46 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 44 title "" menu 5004 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 74 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 72 title "" menu 5005 message 'SIZE' value 1 }
            capt { id 'LTYP' size 140 16 at 20 102 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 100 title "" menu 5006 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 100 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'SPRE' size 410 18 at 20 134 title "${SAVE_PREVIEW}" message 'SPRE' max 1 }
            cbox { id 'DYIN' size 410 18 at 20 158 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZCB' size 410 18 at 20 182 title "${FILE_SHOW_DIALOG}" message 'EZCB' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 206 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 242 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 238 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 239 title "" menu 0 message 'PuFN' }
            capt { id 'TOTX' size 140 16 at 20 274 text "" }
            capt { id 'FOLD' size 200 32 at 170 274 text "" }
            push { id 'SCT1' size 72 20 at 376 271 title "${SAVE_CHOOSE}" message 'SCT1' }
            capt { id 'LAPP' size 140 16 at 20 324 text "${SCAN_OPEN_WITH}" }
            Ccib { id 'FICN' size 32 32 at 170 316 icon 410 pushedIcon 410 }
            capt { id 'SCNA' size 168 32 at 206 316 text "" }
            push { id 'SCT2' size 72 20 at 376 312 title "${SAVE_CHOOSE}" message 'SCT2' }
            push { id 'LKDL' size 72 20 at 376 338 title "${APP_FORGET}" message 'LKDL' }
            push { id 'DFLT' size 80 20 at 20 384 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 384 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 384 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 384 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

layout 5050 "File with tabs" {
    dlog 'Fdlg' {
        title "${FILE_TITLE}"  windowClass 4  bounds 0 0 456 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            tabs { id 'TABS' size 440 26 at 10 8 tabs 5100 message 'TABS' value 1 }
            capt { id 'LIMG' size 140 16 at 20 54 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 52 title "" menu 5003 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 82 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 80 title "" menu 5004 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 110 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 108 title "" menu 5005 message 'SIZE' value 1 }
            capt { id 'LTYP' size 140 16 at 20 138 text "${INFO_FILE_TYPE}" }
            Cpop { id 'FTYP' size 180 20 at 170 136 title "" menu 5006 message 'FTYP' value 1 }
            push { id 'PDFS' size 76 20 at 356 136 title "${SAVE_OPTIONS}" message 'PDFS' }
            cbox { id 'SPRE' size 410 18 at 20 170 title "${SAVE_PREVIEW}" message 'SPRE' max 1 }
            cbox { id 'DYIN' size 410 18 at 20 194 title "${SAVE_DAY_FOLDER}" message 'DYIN' max 1 }
            cbox { id 'EZCB' size 410 18 at 20 218 title "${FILE_SHOW_DIALOG}" message 'EZCB' max 1 }
            cbox { id 'EZFN' size 410 18 at 20 242 title "${SAVE_ASK_NAME}" message 'EZFN' max 1 }
            capt { id 'LNAM' size 140 16 at 20 278 text "${INFO_NAME}" }
            CEtx { id 'FNAM' size 200 22 at 170 274 text "" maxChars 31 message 'FNAM' }
            popb 'FApu' { id 'PuFN' size 56 20 at 376 275 title "" menu 0 message 'PuFN' }
            capt { id 'TOTX' size 140 16 at 20 310 text "" }
            capt { id 'FOLD' size 200 32 at 170 310 text "" }
            push { id 'SCT1' size 72 20 at 376 307 title "${SAVE_CHOOSE}" message 'SCT1' }
            capt { id 'LAPP' size 140 16 at 20 360 text "${SCAN_OPEN_WITH}" }
            Ccib { id 'FICN' size 32 32 at 170 352 icon 410 pushedIcon 410 }
            capt { id 'SCNA' size 168 32 at 206 352 text "" }
            push { id 'SCT2' size 72 20 at 376 348 title "${SAVE_CHOOSE}" message 'SCT2' }
            push { id 'LKDL' size 72 20 at 376 374 title "${APP_FORGET}" message 'LKDL' }
            push { id 'DFLT' size 80 20 at 20 420 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 420 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 420 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 420 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to (the tabs it listens to itself); the history popup also
# tells it before and after its menu is open.
data 'RidL' 5000 "File controls" {
    u16 18
    type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FTYP'  type 'PDFS'  type 'SPRE'  type 'DYIN'  type 'EZCB'
    type 'EZFN'  type 'PuFN'  type 'FNAM'  type 'SCT1'  type 'SCT2'  type 'LKDL'  type 'DFLT'  type 'APLY'
    type 'CNCL'  type 'OKBT'
}

data 'RidL' 5050 "File controls with tabs" {
    u16 18
    type 'IMAG'  type 'RESL'  type 'SIZE'  type 'FTYP'  type 'PDFS'  type 'SPRE'  type 'DYIN'  type 'EZCB'
    type 'EZFN'  type 'PuFN'  type 'FNAM'  type 'SCT1'  type 'SCT2'  type 'LKDL'  type 'DFLT'  type 'APLY'
    type 'CNCL'  type 'OKBT'
}
