# The main window's resources: its pictures, colour icons, shapes, drag cursor and text
# traits, the prompt of scanner button 7, and the table of high-level events. The artwork
# is drawn by scripts/draw-artwork.

# Backgrounds: seven-button models (128) and four-button models (130, with the File tray).
picture 128 { png "${RESOURCES}/artwork/main-window.png" }
picture 130 { png "${RESOURCES}/artwork/main-window-4.png" }

# The window's outline, whole (10000) and collapsed to its title strip (10001).
region 10000 { png "${RESOURCES}/artwork/window-shape.png" }
region 10001 { png "${RESOURCES}/artwork/window-title-shape.png" }

# Application buttons (their icon is drawn over the tile) and the hover glow, which the
# move buttons also show.
picture 200 { png "${RESOURCES}/artwork/app-normal.png" }
picture 201 { png "${RESOURCES}/artwork/app-pressed.png" }
picture 202 { png "${RESOURCES}/artwork/hover.png" }

# Close box and help button of the title strip.
picture 220 { png "${RESOURCES}/artwork/close-normal.png" }
picture 221 { png "${RESOURCES}/artwork/close-pressed.png" }
picture 222 { png "${RESOURCES}/artwork/close-hover.png" }
picture 230 { png "${RESOURCES}/artwork/help-normal.png" }
picture 231 { png "${RESOURCES}/artwork/help-pressed.png" }
picture 232 { png "${RESOURCES}/artwork/help-hover.png" }
picture 233 { png "${RESOURCES}/artwork/help-disabled.png" }

# Copy, Print, Save and Settings: normal, pressed, hover.
picture 300 { png "${RESOURCES}/artwork/copy-normal.png" }
picture 301 { png "${RESOURCES}/artwork/copy-pressed.png" }
picture 302 { png "${RESOURCES}/artwork/copy-hover.png" }
picture 305 { png "${RESOURCES}/artwork/print-normal.png" }
picture 306 { png "${RESOURCES}/artwork/print-pressed.png" }
picture 307 { png "${RESOURCES}/artwork/print-hover.png" }
picture 330 { png "${RESOURCES}/artwork/save-normal.png" }
picture 331 { png "${RESOURCES}/artwork/save-pressed.png" }
picture 332 { png "${RESOURCES}/artwork/save-hover.png" }
picture 370 { png "${RESOURCES}/artwork/settings-normal.png" }
picture 371 { png "${RESOURCES}/artwork/settings-pressed.png" }
picture 372 { png "${RESOURCES}/artwork/settings-hover.png" }

# Marks of the move buttons: the scanner button that runs the function.
picture 400 { png "${RESOURCES}/artwork/mark-1.png" }
picture 430 { png "${RESOURCES}/artwork/mark-2.png" }
picture 420 { png "${RESOURCES}/artwork/mark-3.png" }
picture 410 { png "${RESOURCES}/artwork/mark-last.png" }

# Colour icons of the application buttons, normal and pressed.
cicn 410 { png "${RESOURCES}/artwork/file.png" }
cicn 420 { png "${RESOURCES}/artwork/file-pressed.png" }
cicn 430 { png "${RESOURCES}/artwork/scan.png" }
cicn 440 { png "${RESOURCES}/artwork/scan-pressed.png" }
cicn 450 { png "${RESOURCES}/artwork/ocr.png" }
cicn 460 { png "${RESOURCES}/artwork/ocr-pressed.png" }
cicn 480 { png "${RESOURCES}/artwork/mail.png" }
cicn 490 { png "${RESOURCES}/artwork/mail-pressed.png" }

# The cursor over a move button that can be dragged.
cursor 130 { png "${RESOURCES}/artwork/hand.png" hotspot 7 7 }

# Text traits: size, style, justification (1 centre), mode (1 srcOr: the letters alone),
# colour, font number, font name.
data 'Txtr' 135 "Button names" {
    i16 10  i16 0  i16 1  i16 1  u16 0x2000 0x2000 0x2000  i16 0  pstring[256] ""
}
data 'Txtr' 138 "Window title" {
    i16 12  i16 1  i16 1  i16 1  u16 0xFFFF 0xFFFF 0xFFFF  i16 0  pstring[256] ""
}

# High-level events by number: open application, reopen (a scanner button), quit (the
# desktop's), open documents (this application opens none).
data 'aedt' 128 "Events" {
    u16 4
    type 'aevt' type 'oapp' i32 1001
    type 'aevt' type 'rapp' i32 1005
    type 'aevt' type 'quit' i32 1004
    type 'aevt' type 'odoc' i32 5000
}

# Shown when scanner button 7 is pushed while no page is awaited.
layout 10000 "Button 7 notice" {
    dlog {
        title "Wendrix"  windowClass 4  bounds 0 0 150 420
        {
            icnp { id 'ICMS' size 32 32 at 20 20 icon 1 }
            stxt { id 'TXMS' size 324 64 at 72 20 text "${BUTTON7_NOTICE}" }
            cbox { id 'HTZP' size 324 18 at 72 90 title "${DONT_SHOW_AGAIN}" message 'HTZP' max 1 }
            push { id 900 size 80 20 at 320 116 title "${OK}" message 900 default 1 }
        }
    }
}
