# The 8-bit grey of exported pictures: raw grey pixels are stored with 0 for white.
clut 1024 "Inverted grey" { grey 256 0xFFFF 0 }
