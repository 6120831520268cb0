// A menu as data: header, title, two items, end.
data 'MENU' 500 "Units" {
    i16 500 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "cm" u8 0 0 0 0
    pstring "inch" u8 0 0 0 0
    u8 0
}
