# The printout of one scanned image: a sheet holding the placeholder the image pane goes into.

layout 1101 "Copy printout" {
    prnt { id 'PRNT' size 612 792 at 0 0
        {
            plac { id 'PHLD' size 100 100 at 0 0 }
        }
    }
}
