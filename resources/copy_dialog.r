# Layouts of the Copy function's own sub-dialogs.

layout 1010 "Custom magnification" {
    dlog {
        title "${CUSTOM_SCALE_TITLE}"  windowClass 4  bounds 0 0 120 320
        {
            capt { id 'LSCL' size 180 16 at 20 24 text "${CUSTOM_SCALE_PROMPT}" }
            etxt { id 'TECN' size 60 22 at 204 20 text "100" maxChars 3 filter 3 message 'TECN' }
            capt { id 'LPCT' size 20 16 at 270 24 text "%" }
            push { id 901 size 80 20 at 124 84 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 220 84 title "${OK}" message 900 default 1 }
        }
    }
}
