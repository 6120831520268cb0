# The Copy dialog's paper sizes, each at its row of the paper-size table, and its
# magnifications (the custom item's text is set by the dialog).
data 'MENU' 1007 "Copy platen sizes" {
    i16 1007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "A5 portrait" u8 0 0 0 0
    pstring "A5 paysage" u8 0 0 0 0
    pstring "Lettre" u8 0 0 0 0
    pstring "Carte de visite" u8 0 0 0 0
    pstring "Carte postale 4x6" u8 0 0 0 0
    pstring "Carte postale 6x4" u8 0 0 0 0
    pstring "11x17 (assemblage)" u8 0 0 0 0
    pstring "A3 (assemblage)" u8 0 0 0 0
    pstring "432x297 (assemblage)" u8 0 0 0 0
    pstring "Personnalisé..." u8 0 0 0 0
    u8 0
}

data 'MENU' 1008 "Copy film sizes" {
    i16 1008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "A5 portrait" u8 0 0 0 0
    pstring "A5 paysage" u8 0 0 0 0
    pstring "Lettre" u8 0 0 0 0
    pstring "Carte de visite" u8 0 0 0 0
    pstring "Carte postale 4x6" u8 0 0 0 0
    pstring "Carte postale 6x4" u8 0 0 0 0
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
    pstring "Ajuster au papier" u8 0 0 0 0
    pstring "Personnalisé" u8 0 0 0 0
    u8 0
}
