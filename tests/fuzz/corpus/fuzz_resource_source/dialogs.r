# Menus of the option sub-dialogs. Their item texts come from the language's defines
# (resources/text/<letter>/defines).

# Menus: menu ID i16, width i16, height i16, definition i16, filler i16, enable flags u32
# (bit 0 the menu, bit n item n), title; then per item its text and four bytes (icon, key,
# mark, style); a zero byte ends the list.

data 'MENU' 200 "Size units" {
    i16 200 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${CENTIMETRES}" u8 0 0 0 0
    pstring "${INCHES}" u8 0 0 0 0
    u8 0
}

data 'MENU' 300 "Text languages" {
    i16 300 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${LANG_ENGLISH}" u8 0 0 0 0
    pstring "${LANG_FRENCH}" u8 0 0 0 0
    pstring "${LANG_ITALIAN}" u8 0 0 0 0
    pstring "${LANG_GERMAN}" u8 0 0 0 0
    pstring "${LANG_SPANISH}" u8 0 0 0 0
    pstring "${LANG_DUTCH}" u8 0 0 0 0
    pstring "${LANG_PORTUGUESE}" u8 0 0 0 0
    pstring "${LANG_RUSSIAN}" u8 0 0 0 0
    pstring "${LANG_POLISH}" u8 0 0 0 0
    pstring "${LANG_CZECH}" u8 0 0 0 0
    pstring "${LANG_HUNGARIAN}" u8 0 0 0 0
    u8 0
}

data 'MENU' 301 "Text languages (Japanese system)" {
    i16 301 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${LANG_JAPANESE}" u8 0 0 0 0
    pstring "${LANG_ENGLISH}" u8 0 0 0 0
    u8 0
}

data 'MENU' 310 "JPEG quality" {
    i16 310 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${QUALITY_LOW}" u8 0 0 0 0
    pstring "${QUALITY_MEDIUM}" u8 0 0 0 0
    pstring "${QUALITY_HIGH}" u8 0 0 0 0
    u8 0
}

data 'MENU' 1200 "Fonts" {
    i16 1200 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "Helvetica" u8 0 0 0 0
    pstring "Times"     u8 0 0 0 0
    pstring "Courier"   u8 0 0 0 0
    pstring "Geneva"    u8 0 0 0 0
    pstring "Monaco"    u8 0 0 0 0
    u8 0
}
