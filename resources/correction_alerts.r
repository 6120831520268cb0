# Alerts of the page straightening: 129 stops on a failure (the item of string list 129 and
# the framework's status), 130 notes a straightened page (item 2 of string list 130).

data 'ALRT' 129 { i16 0 0 130 380  i16 129  u16 0x5555 }
data 'DITL' 129 {
    i16 1
    u32 0  i16 96 290 116 360  u8 4  pstring "${OK}"
    u32 0  i16 10 60 86 360    u8 8  pstring "^0 ^1"  u8 0
}

data 'ALRT' 130 { i16 0 0 110 340  i16 130  u16 0x5555 }
data 'DITL' 130 {
    i16 1
    u32 0  i16 76 250 96 320  u8 4  pstring "${OK}"
    u32 0  i16 10 60 66 320   u8 8  pstring "^0"  u8 0
}
