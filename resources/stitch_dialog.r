# The stitch-assist wizard: layout 11000 with its control list, and its pictures: the guide
# of each step (11000-11003), the document on the glass (11004, shown in the picture view;
# its height is the height the halves are shown at) and the step numbers (11005-11008).

layout 11000 "Stitch assist" {
    dlog 'StDl' {
        title "${STITCH_TITLE}"  windowClass 4  bounds 0 0 460 680  defaultButton 'NxBt'  cancelButton 'CnBt'
        {
            PicP { id 'StNm' size 40 40 at 20 20 picture 11005 }
            stxt { id 'MsTx' size 420 64 at 72 16 text "" }
            PicP { id 'StGd' size 150 80 at 510 10 picture 11000 }
            view 'StcV' { id 'StVw' size 640 300 at 20 100
                {
                    PicP { id 'AbcP' size 300 240 at 170 30 picture 11004 }
                }
            }
            push { id 'BkBt' size 90 20 at 20 420 title "${STITCH_BACK}" message 'BkBt' }
            push { id 'RtBt' size 110 20 at 120 420 title "${STITCH_ROTATE}" message 'RtBt' }
            push { id 'CnBt' size 90 20 at 460 420 title "${CANCEL}" message 901 }
            push { id 'NxBt' size 100 20 at 560 420 title "${STITCH_SCAN}" message 900 default 1 }
        }
    }
}

data 'RidL' 11000 {
    u16 4
    i32 'NxBt' 'BkBt' 'RtBt' 'CnBt'
}

picture 11000 { png "${RESOURCES}/artwork/stitch-guide-1.png" }
picture 11001 { png "${RESOURCES}/artwork/stitch-guide-2.png" }
picture 11002 { png "${RESOURCES}/artwork/stitch-guide-3.png" }
picture 11003 { png "${RESOURCES}/artwork/stitch-guide-4.png" }
picture 11004 { png "${RESOURCES}/artwork/stitch-document.png" }
picture 11005 { png "${RESOURCES}/artwork/stitch-step-1.png" }
picture 11006 { png "${RESOURCES}/artwork/stitch-step-2.png" }
picture 11007 { png "${RESOURCES}/artwork/stitch-step-3.png" }
picture 11008 { png "${RESOURCES}/artwork/stitch-step-4.png" }
