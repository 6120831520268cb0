# Layouts of the shared alert: 400 for messages and questions, 350 for the next-page prompt,
# 360 for the same prompt when a scanner button may answer it. Buttons end the alert with
# 900 (OK, next page) or 901 (Cancel, finish).

layout 400 "Alert" {
    dlog {
        title "Wendrix"  windowClass 4  bounds 0 0 132 420
        {
            icnp { id 'ICMS' size 32 32 at 20 20 icon 1 }
            stxt { id 'TXMS' size 324 64 at 72 20 text "" }
            push { id 'BTCN' size 80 20 at 224 96 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 320 96 title "${OK}" message 900 default 1 }
        }
    }
}

layout 350 "Next page" {
    dlog {
        title "Wendrix"  windowClass 4  bounds 0 0 132 420
        {
            icnp { id 'ICMS' size 32 32 at 20 20 icon 1 }
            stxt { id 'TXMS' size 324 64 at 72 20 text "" }
            push { id 'BTCN' size 90 20 at 214 96 title "${FINISH}" message 901 }
            push { id 900 size 90 20 at 310 96 title "${SCAN_NEXT}" message 900 default 1 }
        }
    }
}

layout 360 "Next page, scanner button" {
    dlog {
        title "Wendrix"  windowClass 4  bounds 0 0 132 420
        {
            icnp { id 'ICMS' size 32 32 at 20 20 icon 1 }
            stxt { id 'TXMS' size 324 64 at 72 20 text "" }
            push { id 'BOK1' size 90 20 at 214 96 title "${FINISH}" message 901 visible 0 }
            push { id 'BOK2' size 90 20 at 214 96 title "${FINISH}" message 901 visible 0 }
            push { id 'BOK3' size 90 20 at 214 96 title "${FINISH}" message 901 visible 0 }
            push { id 900 size 90 20 at 310 96 title "${SCAN_NEXT}" message 900 default 1 }
        }
    }
}
