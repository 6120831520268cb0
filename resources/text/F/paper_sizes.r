# Document sizes of the File dialog, each at its row of the paper-size table.
data 'MENU' 5005 "Document sizes" {
    i16 5005 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

# The Save dialog's platen sizes, at the same rows.
data 'MENU' 4006 "Save platen sizes" {
    i16 4006 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

data 'MENU' 6006 "Scan-1 platen sizes" {
    i16 6006 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

data 'MENU' 7006 "Scan-2 platen sizes" {
    i16 7006 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

# The Print dialog's platen sizes, at the same rows.
data 'MENU' 9007 "Print platen sizes" {
    i16 9007 0 0 0 0  u32 0xFFFFFFFF  pstring ""
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

# The OCR dialog's sizes: the table's rows up to the first stitch row, whose place the
# custom size takes.
data 'MENU' 3002 "OCR sizes" {
    i16 3002 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "A5 portrait" u8 0 0 0 0
    pstring "A5 paysage" u8 0 0 0 0
    pstring "Lettre" u8 0 0 0 0
    pstring "Carte de visite" u8 0 0 0 0
    pstring "Carte postale 4x6" u8 0 0 0 0
    pstring "Carte postale 6x4" u8 0 0 0 0
    pstring "Personnalisé..." u8 0 0 0 0
    u8 0
}

# The Mail dialog's sizes, as the OCR dialog's.
data 'MENU' 2001 "Mail sizes" {
    i16 2001 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "A4" u8 0 0 0 0
    pstring "A5 portrait" u8 0 0 0 0
    pstring "A5 paysage" u8 0 0 0 0
    pstring "Lettre" u8 0 0 0 0
    pstring "Carte de visite" u8 0 0 0 0
    pstring "Carte postale 4x6" u8 0 0 0 0
    pstring "Carte postale 6x4" u8 0 0 0 0
    pstring "Personnalisé..." u8 0 0 0 0
    u8 0
}
