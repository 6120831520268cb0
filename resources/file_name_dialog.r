# The file-name entry dialog: the base name of the output files, with the recently used
# names in a popup whose menu starts empty.
data 'MENU' 700 "File-name history" {
    i16 700 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    u8 0
}

layout 700 "File name" {
    dlog 'FAdg' {
        title "${FILE_NAME_TITLE}"  windowClass 4  bounds 0 0 130 380
        {
            capt { id 'TxFN' size 340 16 at 20 16 text "${FILE_NAME_PROMPT}" }
            etxt { id 'EtFN' size 250 22 at 20 40 text "" maxChars 255 message 'EtFN' }
            popb 'FApu' { id 'PuFN' size 90 22 at 276 40 title "" menu 700 message 'PuFN' }
            push { id 901 size 80 20 at 184 90 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 280 90 title "${OK}" message 900 default 1 }
        }
    }
}
