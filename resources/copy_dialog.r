# The Copy dialog: source, image mode, resolution, paper size, magnification, brightness and
# the driver's own window; the page setup and the print options come from the printing layer.

layout 1000 "Copy" {
    dlog 'Cdlg' {
        title "${COPY_TITLE}"  windowClass 4  bounds 0 0 330 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LMOD' size 140 16 at 20 18 text "${SAVE_SOURCE}" }
            Cpop { id 'MODE' size 260 20 at 170 16 title "" menu 1000 message 'MODE' value 1 }
            capt { id 'LIMG' size 140 16 at 20 46 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 44 title "" menu 1001 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 74 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 72 title "" menu 1004 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 102 text "${COPY_PAPER}" }
            Cpop { id 'SIZE' size 260 20 at 170 100 title "" menu 1007 message 'SIZE' value 1 }
            capt { id 'LSCL' size 140 16 at 20 130 text "${COPY_SCALE}" }
            Cpop { id 'SCAL' size 260 20 at 170 128 title "" menu 1011 message 'SCAL' value 1 }
            capt { id 'LBLT' size 140 16 at 20 160 text "${COPY_BRIGHTNESS}" }
            capt { id 'LDRK' size 68 16 at 166 160 text "${COPY_DARKER}" }
            larr { id 'BLIT' size 16 24 at 236 156 message 'BLIT' value 4 min 1 max 7 }
            capt { id 'LLGT' size 60 16 at 258 160 text "${COPY_LIGHTER}" }
            cbox { id 'UION' size 410 18 at 20 192 title "${SAVE_DRIVER_WINDOW}" message 'UION' max 1 }
            push { id 'STYL' size 150 20 at 20 226 title "${COPY_PAGE_SETUP}" message 'STYL' }
            push { id 'PRNT' size 150 20 at 180 226 title "${COPY_PRINT_OPTIONS}" message 'PRNT' }
            push { id 'DFLT' size 80 20 at 20 280 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 280 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 280 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 280 title "${COPY_START}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 1000 "Copy controls" {
    u16 13
    type 'MODE'  type 'IMAG'  type 'RESL'  type 'SIZE'  type 'SCAL'  type 'BLIT'  type 'UION'
    type 'STYL'  type 'PRNT'  type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'
}

data 'MENU' 1000 "Copy sources" {
    i16 1000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${SOURCE_PLATEN}" u8 0 0 0 0
    pstring "${SOURCE_FILM}" u8 0 0 0 0
    pstring "${SOURCE_LAST}" u8 0 0 0 0
    u8 0
}

# Platen image modes, in the order of their codes' items.
data 'MENU' 1001 "Copy platen modes" {
    i16 1001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 1002 "Copy film modes" {
    i16 1002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_NEGATIVE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}

# Output resolutions: black-and-white and grey platen modes, colour platen modes, film.
data 'MENU' 1003 "Copy platen resolutions, black and white" {
    i16 1003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 1004 "Copy platen resolutions, colour" {
    i16 1004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 1005 "Copy film resolutions" {
    i16 1005 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 1013 "Copy film magnifications" {
    i16 1013 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "100%" u8 0 0 0 0
    pstring "${COPY_FIT}" u8 0 0 0 0
    u8 0
}

# Film modes of the model whose adapter also reads slides.
data 'MENU' 1014 "Copy film modes, slide adapter" {
    i16 1014 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_NEGATIVE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    u8 0
}

# The custom-magnification dialog.
layout 1010 "Custom magnification" {
    dlog {
        title "${CUSTOM_SCALE_TITLE}"  windowClass 4  bounds 0 0 120 320
        {
            capt { id 'LSCL' size 180 16 at 20 24 text "${CUSTOM_SCALE_PROMPT}" }
            etxt { id 'TECN' size 60 22 at 204 20 text "100" maxChars 3 filter 3 message 'TECN' }
            capt { id 'LPCT' size 20 16 at 270 24 text "%" }
            push { id 901 size 80 20 at 124 84 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 220 84 title "${OK}" message 900 default 1 }
        }
    }
}
