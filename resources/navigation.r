# The file and folder chooser: the message, the shown folder's path (choosing an item goes
# up to it), the folder's items, a field to type a location, Choose and Cancel.
layout 1120 "Chooser" {
    dlog {
        title "${NAV_TITLE}"  windowClass 4  bounds 0 0 360 440
        {
            capt { id 'MSG ' size 400 32 at 20 12 text "" }
            popb { id 'PATH' size 280 20 at 80 48 title "" menu 1120 message 'PATH' }
            scrl { id 'SCRL' size 400 200 at 20 78 scrollingView 'ITEM'
                {
                    tabl 'NvIt' { id 'ITEM' size 385 185 at 0 0 rows 0 cols 1 rowHeight 20 colWidth 385 cellDataSize 0 }
                }
            }
            capt { id 'LLOC' size 98 16 at 20 292 text "${NAV_LOCATION}" }
            etxt { id 'LOCN' size 300 22 at 120 288 text "" maxChars 255 message 'LOCN' }
            push { id 901 size 80 20 at 244 326 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 340 326 title "${NAV_CHOOSE}" message 900 default 1 }
        }
    }
}
