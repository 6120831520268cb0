# Strings in the system script, a data record of every field kind.
strings 128 "Language" { "E" "ab\x80" }
data 'dPre' 7 "Fields" {
    u8 1 i8 -1 u16 0x1234 i16 -2 u32 'JPEG' 5 i32 -1
    pstring "Dremlo Model A" zero 4
}
