# The enlarged preview of one page. Escape presses OK; the close box ends the loop as well.

layout 501 "Enlarged preview" {
    dlog 'Prpr' {
        title ""  windowClass 4  attributes 1  bounds 0 0 564 640  cancelButton 900
        {
            view 'PrpV' { id 'PrpV' size 600 500 at 20 16 }
            push { id 900 size 80 20 at 540 532 title "${OK}" message 900 default 1 }
        }
    }
}

data 'RidL' 501 {
    u16 1
    i32 900
}
