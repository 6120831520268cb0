# The print layout's cursors over the placed picture and the text boxes, and the text boxes'
# text traits.

# Resizing by the top or bottom edge, by the left or right edge, by the top-left or
# bottom-right corner, by the bottom-left or top-right corner; moving.
cursor 131 { png "${RESOURCES}/artwork/cursor-resize-vertical.png" hotspot 7 7 }
cursor 132 { png "${RESOURCES}/artwork/cursor-resize-horizontal.png" hotspot 7 7 }
cursor 133 { png "${RESOURCES}/artwork/cursor-resize-diagonal-down.png" hotspot 7 7 }
cursor 134 { png "${RESOURCES}/artwork/cursor-resize-diagonal-up.png" hotspot 7 7 }
cursor 135 { png "${RESOURCES}/artwork/cursor-move.png" hotspot 7 7 }

# Text traits: size, style, justification (0 the script's own), mode (1 srcOr), colour,
# font number, font name.
data 'Txtr' 128 "Text box" {
    i16 12  i16 0  i16 0  i16 1  u16 0 0 0  i16 0  pstring[256] ""
}

# The page-layout dialog: the strip of page thumbnails, the page area (its border is the
# attachment that printing takes off), and the buttons and size popups beside it.
layout 1100 "Page layout" {
    dlog 'DLAY' {
        title "${LAY_TITLE}"  windowClass 4  bounds 0 0 568 620
        defaultButton 'BTFN'  cancelButton 'BTBK'
        {
            scrl { id 'SCRL' size 580 146 at 20 12 scrollingView 'THUV'
                {
                    view 'THUV' { id 'THUV' size 576 130 at 0 0 }
                }
            }
            view 'PICV' { id 'PICV' size 400 360 at 20 170
                {
                    brda { }
                }
            }
            push { id 'MSET' size 160 20 at 440 176 title "${LAY_PAGE_SETUP}" message 'MSET' }
            push { id 'PSET' size 160 20 at 440 204 title "${LAY_PRINT_OPTIONS}" message 'PSET' }
            push { id 'ADDT' size 160 20 at 440 244 title "${LAY_ADD_TEXT}" message 'ADDT' }
            push { id 'FSET' size 160 20 at 440 272 title "${LAY_FONT}" message 'FSET' enabled 0 }
            push { id 'APL1' size 160 20 at 440 312 title "${LAY_CENTRE}" message 'APL1' }
            push { id 'APL2' size 160 20 at 440 340 title "${LAY_FIT}" message 'APL2' }
            push { id 'APL3' size 160 20 at 440 368 title "${LAY_FILL}" message 'APL3' }
            capt { id 'LPWD' size 160 16 at 440 404 text "${WIDTH}" }
            Cpop { id 'PBWD' size 160 20 at 440 422 title "" menu 0 message 'PBWD' value 0 }
            capt { id 'LPHI' size 160 16 at 440 450 text "${HEIGHT}" }
            Cpop { id 'PBHI' size 160 20 at 440 468 title "" menu 0 message 'PBHI' value 0 }
            capt { id 'LRES' size 100 16 at 440 500 text "${INFO_RESOLUTION}" }
            capt { id 'CRES' size 40 16 at 540 500 text "" }
            capt { id 'LDPI' size 20 16 at 582 500 text "dpi" }
            push { id 'SAVE' size 110 20 at 220 540 title "${LAY_SAVE}" message 'SAVE' }
            push { id 'BTBK' size 80 20 at 340 540 title "${LAY_BACK}" message 'BTBK' }
            push { id 'BTPR' size 80 20 at 430 540 title "${LAY_PRINT}" message 'BTPR' }
            push { id 'BTFN' size 80 20 at 520 540 title "${LAY_FINISH}" message 'BTFN' default 1 }
        }
    }
}

# The controls the dialog listens to.
data 'RidL' 1100 "Page layout controls" {
    u16 13
    type 'MSET'  type 'PSET'  type 'BTPR'  type 'BTFN'  type 'BTBK'  type 'ADDT'
    type 'FSET'  type 'APL1'  type 'APL2'  type 'APL3'  type 'PBWD'  type 'PBHI'
    type 'SAVE'
}
