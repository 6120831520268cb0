# The Copy dialog's paper sizes, each at its row of the paper-size table, and its
# magnifications (the custom item's text is set by the dialog).
data 'MENU' 1007 "Copy platen sizes" {
    i16 1007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "A5 Hochformat" u8 0 0 0 0
    pstring "A5 Querformat" u8 0 0 0 0
    pstring "Letter" u8 0 0 0 0
    pstring "Visitenkarte" u8 0 0 0 0
    pstring "Postkarte 4x6" u8 0 0 0 0
    pstring "Postkarte 6x4" u8 0 0 0 0
    pstring "11x17 (Zusammenfügen)" u8 0 0 0 0
    pstring "A3 (Zusammenfügen)" u8 0 0 0 0
    pstring "432x297 (Zusammenfügen)" u8 0 0 0 0
    pstring "Benutzerdefiniert..." u8 0 0 0 0
    u8 0
}

data 'MENU' 1008 "Copy film sizes" {
    i16 1008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "A5 Hochformat" u8 0 0 0 0
    pstring "A5 Querformat" u8 0 0 0 0
    pstring "Letter" u8 0 0 0 0
    pstring "Visitenkarte" u8 0 0 0 0
    pstring "Postkarte 4x6" u8 0 0 0 0
    pstring "Postkarte 6x4" u8 0 0 0 0
    u8 0
}

data 'MENU' 1011 "Copy magnifications" {
    i16 1011 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "25%" u8 0 0 0 0
    pstring "47%" u8 0 0 0 0
    pstring "70%" u8 0 0 0 0
    pstring "100%" u8 0 0 0 0
    pstring "141%" u8 0 0 0 0
    pstring "200%" u8 0 0 0 0
    pstring "400%" u8 0 0 0 0
    pstring "An Papier anpassen" u8 0 0 0 0
    pstring "Eigener" u8 0 0 0 0
    u8 0
}
