# Layouts of the option sub-dialogs of the output formats and of the document size.
# Check boxes and radio buttons send their own pane ID as their message.

layout 300 "PDF options" {
    dlog {
        title "${PDF_OPTIONS}"  windowClass 4  bounds 0 0 236 400
        {
            cbox { id 'CBXS' size 360 18 at 20 16 title "${MAKE_SEARCHABLE}" message 'CBXS' max 1 }
            capt { id 'LTXP' size 110 16 at 40 44 text "${TEXT_LANGUAGE}" }
            popb { id 'POPL' size 200 20 at 150 40 title "" menu 300 message 'POPL' value 1 }
            cbox { id 'CBXT' size 340 18 at 40 70 title "${TURN_UPRIGHT}" message 'CBXT' max 1 }
            cbox { id 'CBCR' size 360 18 at 20 98 title "${STRAIGHTEN}" message 'CBCR' max 1 }
            cbox { id 'CBXP' size 360 18 at 20 122 title "${SKIP_BLANK}" message 'CBXP' max 1 }
            capt { id 'LTXC' size 100 16 at 20 158 text "${COMPRESSION}" }
            rdbt { id 'RDNR' size 90 18 at 120 156 title "${COMPRESSION_NORMAL}" message 'RDNR' max 1 }
            rdbt { id 'RDHI' size 170 18 at 214 156 title "${COMPRESSION_HIGH}" message 'RDHI' max 1 }
            radg { radios 'RDNR' 'RDHI' }
            push { id 901 size 80 20 at 204 200 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 300 200 title "${OK}" message 900 default 1 }
        }
    }
}

layout 310 "JPEG options" {
    dlog {
        title "${JPEG_OPTIONS}"  windowClass 4  bounds 0 0 206 400
        {
            cbox { id 'TUNJ' size 360 18 at 20 16 title "${TURN_UPRIGHT_OCR}" message 'TUNJ' max 1 }
            capt { id 'LTXJ' size 110 16 at 40 44 text "${TEXT_LANGUAGE}" }
            popb { id 'LNGJ' size 200 20 at 150 40 title "" menu 300 message 'LNGJ' value 1 }
            cbox { id 'SLTJ' size 360 18 at 20 72 title "${STRAIGHTEN}" message 'SLTJ' max 1 }
            cbox { id 'PRBJ' size 360 18 at 20 96 title "${SKIP_BLANK}" message 'PRBJ' max 1 }
            capt { id 'StrJ' size 110 16 at 20 130 text "${QUALITY}" }
            popb { id 'POPC' size 200 20 at 150 126 title "" menu 310 message 'POPC' value 2 }
            push { id 901 size 80 20 at 204 170 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 300 170 title "${OK}" message 900 default 1 }
        }
    }
}

layout 320 "TIFF and PICT options" {
    dlog {
        title "${TIFF_PICT_OPTIONS}"  windowClass 4  bounds 0 0 172 400
        {
            cbox { id 'TUNO' size 360 18 at 20 16 title "${TURN_UPRIGHT_OCR}" message 'TUNO' max 1 }
            capt { id 'LTXO' size 110 16 at 40 44 text "${TEXT_LANGUAGE}" }
            popb { id 'LNGO' size 200 20 at 150 40 title "" menu 300 message 'LNGO' value 1 }
            cbox { id 'SLTO' size 360 18 at 20 72 title "${STRAIGHTEN}" message 'SLTO' max 1 }
            cbox { id 'PRBO' size 360 18 at 20 96 title "${SKIP_BLANK}" message 'PRBO' max 1 }
            push { id 901 size 80 20 at 204 136 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 300 136 title "${OK}" message 900 default 1 }
        }
    }
}

layout 200 "Document size" {
    dlog {
        title "${DOCUMENT_SIZE}"  windowClass 4  bounds 0 0 160 300
        {
            capt { id 'LAWD' size 70 16 at 20 20 text "${WIDTH}" }
            etxt { id 'EDWD' size 90 22 at 100 16 text "" maxChars 8 message 'EDWD' }
            capt { id 'LAHG' size 70 16 at 20 52 text "${HEIGHT}" }
            etxt { id 'EDHG' size 90 22 at 100 48 text "" maxChars 8 message 'EDHG' }
            capt { id 'LAUN' size 70 16 at 20 86 text "${UNIT}" }
            popb { id 'POPU' size 160 20 at 100 82 title "" menu 200 message 'POPU' value 1 }
            push { id 901 size 80 20 at 104 124 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 200 124 title "${OK}" message 900 default 1 }
        }
    }
}

layout 1200 "Font" {
    dlog {
        title "${FONT_TITLE}"  windowClass 4  bounds 0 0 204 320
        {
            capt { id 'LAFN' size 60 16 at 20 20 text "${FONT}" }
            popb { id 'POPF' size 200 20 at 90 16 title "" menu 1200 message 'POPF' value 1 }
            capt { id 'LASI' size 60 16 at 20 52 text "${SIZE}" }
            etxt { id 'EDSZ' size 50 22 at 90 48 text "12" maxChars 3 filter 3 message 'EDSZ' }
            larr { id 'LASZ' size 16 24 at 144 47 message 'LASZ' value 12 min 1 max 100 }
            push { id 'BTSL' size 100 20 at 190 49 title "${COLOUR}" message 'BTSL' }
            cbox { id 'CBBO' size 120 18 at 20 86 title "${BOLD}" message 'CBBO' max 1 }
            cbox { id 'CBIT' size 120 18 at 20 110 title "${ITALIC}" message 'CBIT' max 1 }
            cbox { id 'CBUN' size 120 18 at 20 134 title "${UNDERLINE}" message 'CBUN' max 1 }
            cbox { id 'CBOU' size 120 18 at 170 86 title "${OUTLINE}" message 'CBOU' max 1 }
            cbox { id 'CBSH' size 120 18 at 170 110 title "${SHADOW}" message 'CBSH' max 1 }
            push { id 901 size 80 20 at 124 168 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 220 168 title "${OK}" message 900 default 1 }
        }
    }
}
