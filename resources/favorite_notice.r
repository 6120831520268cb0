# Shown when scanner button 6 starts the File dialog's favourite-scan tab.
layout 5100 "Favourite scan notice" {
    dlog {
        title "Wendrix"  windowClass 4  bounds 0 0 150 420
        {
            icnp { id 'ICMS' size 32 32 at 20 20 icon 1 }
            stxt { id 'TXMS' size 324 64 at 72 20 text "${FAVORITE_NOTICE}" }
            cbox { id 'CbDD' size 324 18 at 72 90 title "${DONT_SHOW_AGAIN}" message 'CbDD' max 1 }
            push { id 900 size 80 20 at 320 116 title "${OK}" message 900 default 1 }
        }
    }
}
