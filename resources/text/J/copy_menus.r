# The Copy dialog's paper sizes, each at its row of the paper-size table, and its
# magnifications (the custom item's text is set by the dialog).
data 'MENU' 1007 "Copy platen sizes" {
    i16 1007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "B5" u8 0 0 0 0
    pstring "A5 縦" u8 0 0 0 0
    pstring "A5 横" u8 0 0 0 0
    pstring "レター" u8 0 0 0 0
    pstring "名刺" u8 0 0 0 0
    pstring "L判 縦" u8 0 0 0 0
    pstring "L判 横" u8 0 0 0 0
    pstring "2L判 縦" u8 0 0 0 0
    pstring "2L判 横" u8 0 0 0 0
    pstring "はがき 縦" u8 0 0 0 0
    pstring "はがき 横" u8 0 0 0 0
    pstring "B4 (合成)" u8 0 0 0 0
    pstring "A3 (合成)" u8 0 0 0 0
    pstring "432x297 (合成)" u8 0 0 0 0
    pstring "カスタム..." u8 0 0 0 0
    u8 0
}

data 'MENU' 1008 "Copy film sizes" {
    i16 1008 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "B5" u8 0 0 0 0
    pstring "A5 縦" u8 0 0 0 0
    pstring "A5 横" u8 0 0 0 0
    pstring "レター" u8 0 0 0 0
    pstring "名刺" u8 0 0 0 0
    pstring "L判 縦" u8 0 0 0 0
    pstring "L判 横" u8 0 0 0 0
    pstring "2L判 縦" u8 0 0 0 0
    pstring "2L判 横" u8 0 0 0 0
    pstring "はがき 縦" u8 0 0 0 0
    pstring "はがき 横" u8 0 0 0 0
    u8 0
}

data 'MENU' 1011 "Copy magnifications" {
    i16 1011 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "25%" u8 0 0 0 0
    pstring "47%" u8 0 0 0 0
    pstring "70%" u8 0 0 0 0
    pstring "86%" u8 0 0 0 0
    pstring "100%" u8 0 0 0 0
    pstring "115%" u8 0 0 0 0
    pstring "141%" u8 0 0 0 0
    pstring "200%" u8 0 0 0 0
    pstring "400%" u8 0 0 0 0
    pstring "用紙に合わせる" u8 0 0 0 0
    pstring "任意" u8 0 0 0 0
    u8 0
}
