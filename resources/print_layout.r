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
