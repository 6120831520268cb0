# The Print dialog: source, image mode, resolution, document size and brightness of the scan
# whose pages are then laid out and printed.

layout 9000 "Print" {
    dlog 'Pdlg' {
        title "${PRINT_TITLE}"  windowClass 4  bounds 0 0 270 460
        defaultButton 'OKBT'  cancelButton 'CNCL'
        {
            capt { id 'LMOD' size 140 16 at 20 18 text "${SAVE_SOURCE}" }
            Cpop { id 'MODE' size 260 20 at 170 16 title "" menu 9000 message 'MODE' value 1 }
            capt { id 'LIMG' size 140 16 at 20 46 text "${INFO_MODE}" }
            Cpop { id 'IMAG' size 260 20 at 170 44 title "" menu 9001 message 'IMAG' value 1 }
            capt { id 'LRES' size 140 16 at 20 74 text "${INFO_RESOLUTION}" }
            Cpop { id 'RESL' size 260 20 at 170 72 title "" menu 9004 message 'RESL' value 1 }
            capt { id 'LSIZ' size 140 16 at 20 102 text "${INFO_SIZE}" }
            Cpop { id 'SIZE' size 260 20 at 170 100 title "" menu 9007 message 'SIZE' value 1 }
            capt { id 'LBLI' size 140 16 at 20 132 text "${PRINT_BRIGHTNESS}" }
            capt { id 'BLTX' size 20 16 at 170 132 text "4" }
            larr { id 'BLIT' size 16 24 at 194 128 message 'BLIT' value 4 min 1 max 7 }
            capt { id 'LBLH' size 200 16 at 220 132 text "${PRINT_BRIGHTNESS_HINT}" }
            cbox { id 'UION' size 410 18 at 20 166 title "${SAVE_DRIVER_WINDOW}" message 'UION' max 1 }
            push { id 'DFLT' size 80 20 at 20 220 title "${SAVE_DEFAULTS}" message 'DFLT' }
            push { id 'APLY' size 80 20 at 110 220 title "${SAVE_APPLY}" message 'APLY' }
            push { id 'CNCL' size 80 20 at 262 220 title "${SAVE_CLOSE}" message 901 }
            push { id 'OKBT' size 80 20 at 352 220 title "${SAVE_SCAN}" message 900 default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 9000 "Print controls" {
    u16 10
    type 'MODE'  type 'IMAG'  type 'RESL'  type 'SIZE'  type 'BLIT'  type 'UION'
    type 'DFLT'  type 'APLY'  type 'CNCL'  type 'OKBT'
}

data 'MENU' 9000 "Print sources" {
    i16 9000 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${SOURCE_PLATEN}" u8 0 0 0 0
    pstring "${SOURCE_FILM}" u8 0 0 0 0
    pstring "${SOURCE_LAST}" u8 0 0 0 0
    u8 0
}

# Platen image modes, in the order of their items.
data 'MENU' 9001 "Print platen modes" {
    i16 9001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${MODE_BW}" u8 0 0 0 0
    pstring "${MODE_GREY}" u8 0 0 0 0
    pstring "${MODE_BW_TEXT}" u8 0 0 0 0
    pstring "${MODE_COLOUR}" u8 0 0 0 0
    pstring "${MODE_COLOUR_PHOTO}" u8 0 0 0 0
    pstring "${MODE_COLOUR_DOCUMENT}" u8 0 0 0 0
    pstring "${MODE_COLOUR_SMALL}" u8 0 0 0 0
    u8 0
}

data 'MENU' 9002 "Print film modes" {
    i16 9002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_NEGATIVE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}

# The output resolutions of black-and-white and grey pages, and of colour pages.
data 'MENU' 9003 "Print platen resolutions, black and white and grey" {
    i16 9003 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 9004 "Print platen resolutions, colour" {
    i16 9004 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 9005 "Print film resolutions" {
    i16 9005 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "150 dpi" u8 0 0 0 0
    pstring "300 dpi" u8 0 0 0 0
    pstring "600 dpi" u8 0 0 0 0
    u8 0
}

data 'MENU' 9008 "Print film sizes" {
    i16 9008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_STRIP}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    u8 0
}

# Film modes of the model whose adapter reads slides only.
data 'MENU' 9012 "Print film modes, slide adapter" {
    i16 9012 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${FILM_POSITIVE}" u8 0 0 0 0
    pstring "${FILM_SLIDE}" u8 0 0 0 0
    pstring "${FILM_MONOCHROME}" u8 0 0 0 0
    u8 0
}
