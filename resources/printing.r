# The printout of one scanned image: a sheet holding the placeholder the image pane goes into.

layout 1101 "Copy printout" {
    prnt { id 'PRNT' size 612 792 at 0 0
        {
            plac { id 'PHLD' size 100 100 at 0 0 }
        }
    }
}

# The page-setup and print dialogs of the framework; their printer and paper menus are filled
# from the printers there are.
layout 1110 "Page setup" {
    dlog {
        title "${PAGE_SETUP}"  windowClass 4  bounds 0 0 190 380
        {
            capt { id 'LPRT' size 90 16 at 20 20 text "${PRINTER}" }
            popb { id 'PRTR' size 240 20 at 120 16 title "" menu 1110 message 'PRTR' }
            capt { id 'LPAP' size 90 16 at 20 52 text "${PAPER}" }
            popb { id 'PAPR' size 240 20 at 120 48 title "" menu 1111 message 'PAPR' }
            capt { id 'LORI' size 90 16 at 20 84 text "${ORIENTATION}" }
            rdbt { id 'PORT' size 120 18 at 120 82 title "${PORTRAIT}" message 'PORT' max 1 value 1 }
            rdbt { id 'LAND' size 120 18 at 240 82 title "${LANDSCAPE}" message 'LAND' max 1 }
            radg { radios 'PORT' 'LAND' }
            push { id 901 size 80 20 at 184 150 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 280 150 title "${OK}" message 900 default 1 }
        }
    }
}

layout 1111 "Print" {
    dlog {
        title "${PRINT_JOB}"  windowClass 4  bounds 0 0 220 380
        {
            capt { id 'LPRT' size 90 16 at 20 20 text "${PRINTER}" }
            popb { id 'PRTR' size 240 20 at 120 16 title "" menu 1110 message 'PRTR' }
            capt { id 'LCPY' size 90 16 at 20 54 text "${COPIES}" }
            etxt { id 'COPY' size 60 22 at 120 50 text "1" maxChars 4 message 'COPY' }
            cbox { id 'COLL' size 160 18 at 200 52 title "${COLLATE}" message 'COLL' max 1 value 1 }
            capt { id 'LPGS' size 90 16 at 20 90 text "${PAGES}" }
            rdbt { id 'ALLP' size 200 18 at 120 88 title "${ALL_PAGES}" message 'ALLP' max 1 value 1 }
            rdbt { id 'RNGP' size 60 18 at 120 116 title "${PAGES_FROM}" message 'RNGP' max 1 }
            radg { radios 'ALLP' 'RNGP' }
            etxt { id 'FROM' size 50 22 at 184 114 text "1" maxChars 4 message 'FROM' }
            capt { id 'LTO ' size 36 16 at 238 118 text "${PAGES_TO}" }
            etxt { id 'TO  ' size 50 22 at 276 114 text "1" maxChars 4 message 'TO  ' }
            push { id 901 size 80 20 at 184 180 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 280 180 title "${OK}" message 900 default 1 }
        }
    }
}
