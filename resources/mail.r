# The mail-application chooser: the applications found and added, the last row standing for
# no application; add and remove, Cancel and OK.
layout 2100 "Mail application" {
    dlog 'DMLS' {
        title "${MAILER_TITLE}"  windowClass 4  bounds 0 0 260 360  defaultButton 'BTOK'  cancelButton 'BTCN'
        {
            tabl 'ATBL' { id 'ATBL' size 320 160 at 20 16 rows 1 cols 1 rowHeight 18 colWidth 320 cellDataSize 72 }
            push { id 'BTAD' size 100 20 at 20 188 title "${MAILER_ADD}" message 'BTAD' }
            push { id 'BTDL' size 100 20 at 128 188 title "${MAILER_REMOVE}" message 'BTDL' }
            push { id 'BTCN' size 80 20 at 164 224 title "${CANCEL}" message 901 }
            push { id 'BTOK' size 80 20 at 260 224 title "${OK}" message 900 default 1 }
        }
    }
}
