# A window with a caption, a button and a radio group inside a view.
layout 900 {
    wind {
        title "Options" bounds 40 40 300 200
        {
            capt 'Capx' { text "Quality" at 10 10 size 100 16 id 'QUAL' }
            push { id 2 size 80 20 at 10 40 title "OK" }
            view { size 200 60 at 10 70 {
                pane { size 10 10 at 0 0 }
                radg { radios 3 4 }
            } }
        }
    }
}
