# The Settings dialog: the scanner model, the function of each assignable scanner button,
# quitting after a scanner-button run and the folder of the temporary files.

layout 8000 "Settings" {
    dlog 'STlg' {
        title "${SETTINGS_TITLE}"  windowClass 4  bounds 0 0 340 460  visible 1
        defaultButton 900  cancelButton 901
        {
            capt { id 'LDRV' size 120 16 at 20 22 text "${SETTINGS_SCANNER}" }
            Cpop { id 'DRVR' size 280 20 at 150 20 title "" menu 8001 message 'DRVR' value 1 }
            capt { id 'LBTN' size 420 16 at 20 56 text "${SETTINGS_BUTTONS}" }
            capt { id 'CPYB' size 120 16 at 40 86 text "${SETTINGS_SLOT1}" }
            Cpop { id 'CPYP' size 200 20 at 170 84 title "" menu 8000 message 'CPYP' value 1 }
            Ccib { id 'CPPC' size 32 32 at 390 78 icon 300 pushedIcon 300 }
            capt { id 'SCNB' size 120 16 at 40 126 text "${SETTINGS_SLOT2}" }
            Cpop { id 'SCNP' size 200 20 at 170 124 title "" menu 8000 message 'SCNP' value 1 }
            Ccib { id 'SNPC' size 32 32 at 390 118 icon 350 pushedIcon 350 }
            capt { id 'FILB' size 120 16 at 40 166 text "${SETTINGS_SLOT3}" }
            Cpop { id 'FILP' size 200 20 at 170 164 title "" menu 8000 message 'FILP' value 1 }
            Ccib { id 'FLPC' size 32 32 at 390 158 icon 340 pushedIcon 340 }
            capt { id 'MILB' size 120 16 at 40 206 text "${SETTINGS_SLOT4}" }
            Cpop { id 'MILP' size 200 20 at 170 204 title "" menu 8000 message 'MILP' value 1 }
            Ccib { id 'MLPC' size 32 32 at 390 198 icon 310 pushedIcon 310 }
            cbox { id 'ECCB' size 420 18 at 20 240 title "${SETTINGS_QUIT}" message 'ECCB' max 1 }
            capt { id 'LTMP' size 300 16 at 20 270 text "${SETTINGS_TEMP}" }
            push { id 'TPBT' size 100 20 at 340 266 title "${SETTINGS_CHOOSE}" message 'TPBT' }
            capt { id 'TPTX' size 400 16 at 40 290 text "" }
            push { id 'DFLT' size 100 20 at 20 310 title "${SETTINGS_DEFAULTS}" message 'DFLT' }
            push { id 901 size 80 20 at 264 310 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 360 310 title "${OK}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 8000 "Settings controls" {
    u16 10
    type 'DRVR'  type 'CPYP'  type 'SCNP'  type 'FILP'  type 'MILP'  type 'TPBT'  type 'DFLT'  type 'ECCB'  u32 900 901
}

# The slot popups' menu and the scanner menu; the dialog fills both.
data 'MENU' 8000 "Scanner-button functions" {
    i16 8000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    u8 0
}

data 'MENU' 8001 "Scanners" {
    i16 8001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    u8 0
}

# Colour icons of the functions a scanner button can run.
cicn 300 { png "${RESOURCES}/artwork/copy-normal.png" }
cicn 310 { png "${RESOURCES}/artwork/mail.png" }
cicn 320 { png "${RESOURCES}/artwork/ocr.png" }
cicn 330 { png "${RESOURCES}/artwork/save-normal.png" }
cicn 340 { png "${RESOURCES}/artwork/file.png" }
cicn 350 { png "${RESOURCES}/artwork/scan.png" }
cicn 360 { png "${RESOURCES}/artwork/scan.png" }
cicn 380 { png "${RESOURCES}/artwork/settings-normal.png" }
cicn 390 { png "${RESOURCES}/artwork/print-normal.png" }
