# The EXIF dialog: layout 600, its control list and its popup menus. The date menus'
# item texts are the numbers themselves: the shooting date is built from them.

data 'MENU' 610 "EXIF years" {
    i16 610 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "1900" u8 0 0 0 0
    pstring "1901" u8 0 0 0 0
    pstring "1902" u8 0 0 0 0
    pstring "1903" u8 0 0 0 0
    pstring "1904" u8 0 0 0 0
    pstring "1905" u8 0 0 0 0
    pstring "1906" u8 0 0 0 0
    pstring "1907" u8 0 0 0 0
    pstring "1908" u8 0 0 0 0
    pstring "1909" u8 0 0 0 0
    pstring "1910" u8 0 0 0 0
    pstring "1911" u8 0 0 0 0
    pstring "1912" u8 0 0 0 0
    pstring "1913" u8 0 0 0 0
    pstring "1914" u8 0 0 0 0
    pstring "1915" u8 0 0 0 0
    pstring "1916" u8 0 0 0 0
    pstring "1917" u8 0 0 0 0
    pstring "1918" u8 0 0 0 0
    pstring "1919" u8 0 0 0 0
    pstring "1920" u8 0 0 0 0
    pstring "1921" u8 0 0 0 0
    pstring "1922" u8 0 0 0 0
    pstring "1923" u8 0 0 0 0
    pstring "1924" u8 0 0 0 0
    pstring "1925" u8 0 0 0 0
    pstring "1926" u8 0 0 0 0
    pstring "1927" u8 0 0 0 0
    pstring "1928" u8 0 0 0 0
    pstring "1929" u8 0 0 0 0
    pstring "1930" u8 0 0 0 0
    pstring "1931" u8 0 0 0 0
    pstring "1932" u8 0 0 0 0
    pstring "1933" u8 0 0 0 0
    pstring "1934" u8 0 0 0 0
    pstring "1935" u8 0 0 0 0
    pstring "1936" u8 0 0 0 0
    pstring "1937" u8 0 0 0 0
    pstring "1938" u8 0 0 0 0
    pstring "1939" u8 0 0 0 0
    pstring "1940" u8 0 0 0 0
    pstring "1941" u8 0 0 0 0
    pstring "1942" u8 0 0 0 0
    pstring "1943" u8 0 0 0 0
    pstring "1944" u8 0 0 0 0
    pstring "1945" u8 0 0 0 0
    pstring "1946" u8 0 0 0 0
    pstring "1947" u8 0 0 0 0
    pstring "1948" u8 0 0 0 0
    pstring "1949" u8 0 0 0 0
    pstring "1950" u8 0 0 0 0
    pstring "1951" u8 0 0 0 0
    pstring "1952" u8 0 0 0 0
    pstring "1953" u8 0 0 0 0
    pstring "1954" u8 0 0 0 0
    pstring "1955" u8 0 0 0 0
    pstring "1956" u8 0 0 0 0
    pstring "1957" u8 0 0 0 0
    pstring "1958" u8 0 0 0 0
    pstring "1959" u8 0 0 0 0
    pstring "1960" u8 0 0 0 0
    pstring "1961" u8 0 0 0 0
    pstring "1962" u8 0 0 0 0
    pstring "1963" u8 0 0 0 0
    pstring "1964" u8 0 0 0 0
    pstring "1965" u8 0 0 0 0
    pstring "1966" u8 0 0 0 0
    pstring "1967" u8 0 0 0 0
    pstring "1968" u8 0 0 0 0
    pstring "1969" u8 0 0 0 0
    pstring "1970" u8 0 0 0 0
    pstring "1971" u8 0 0 0 0
    pstring "1972" u8 0 0 0 0
    pstring "1973" u8 0 0 0 0
    pstring "1974" u8 0 0 0 0
    pstring "1975" u8 0 0 0 0
    pstring "1976" u8 0 0 0 0
    pstring "1977" u8 0 0 0 0
    pstring "1978" u8 0 0 0 0
    pstring "1979" u8 0 0 0 0
    pstring "1980" u8 0 0 0 0
    pstring "1981" u8 0 0 0 0
    pstring "1982" u8 0 0 0 0
    pstring "1983" u8 0 0 0 0
    pstring "1984" u8 0 0 0 0
    pstring "1985" u8 0 0 0 0
    pstring "1986" u8 0 0 0 0
    pstring "1987" u8 0 0 0 0
    pstring "1988" u8 0 0 0 0
    pstring "1989" u8 0 0 0 0
    pstring "1990" u8 0 0 0 0
    pstring "1991" u8 0 0 0 0
    pstring "1992" u8 0 0 0 0
    pstring "1993" u8 0 0 0 0
    pstring "1994" u8 0 0 0 0
    pstring "1995" u8 0 0 0 0
    pstring "1996" u8 0 0 0 0
    pstring "1997" u8 0 0 0 0
    pstring "1998" u8 0 0 0 0
    pstring "1999" u8 0 0 0 0
    pstring "2000" u8 0 0 0 0
    pstring "2001" u8 0 0 0 0
    pstring "2002" u8 0 0 0 0
    pstring "2003" u8 0 0 0 0
    pstring "2004" u8 0 0 0 0
    pstring "2005" u8 0 0 0 0
    pstring "2006" u8 0 0 0 0
    pstring "2007" u8 0 0 0 0
    pstring "2008" u8 0 0 0 0
    pstring "2009" u8 0 0 0 0
    pstring "2010" u8 0 0 0 0
    pstring "2011" u8 0 0 0 0
    pstring "2012" u8 0 0 0 0
    pstring "2013" u8 0 0 0 0
    pstring "2014" u8 0 0 0 0
    pstring "2015" u8 0 0 0 0
    pstring "2016" u8 0 0 0 0
    pstring "2017" u8 0 0 0 0
    pstring "2018" u8 0 0 0 0
    pstring "2019" u8 0 0 0 0
    pstring "2020" u8 0 0 0 0
    pstring "2021" u8 0 0 0 0
    pstring "2022" u8 0 0 0 0
    pstring "2023" u8 0 0 0 0
    pstring "2024" u8 0 0 0 0
    pstring "2025" u8 0 0 0 0
    pstring "2026" u8 0 0 0 0
    pstring "2027" u8 0 0 0 0
    pstring "2028" u8 0 0 0 0
    pstring "2029" u8 0 0 0 0
    pstring "2030" u8 0 0 0 0
    pstring "2031" u8 0 0 0 0
    pstring "2032" u8 0 0 0 0
    pstring "2033" u8 0 0 0 0
    pstring "2034" u8 0 0 0 0
    pstring "2035" u8 0 0 0 0
    pstring "2036" u8 0 0 0 0
    pstring "2037" u8 0 0 0 0
    pstring "2038" u8 0 0 0 0
    pstring "2039" u8 0 0 0 0
    pstring "2040" u8 0 0 0 0
    pstring "2041" u8 0 0 0 0
    pstring "2042" u8 0 0 0 0
    pstring "2043" u8 0 0 0 0
    pstring "2044" u8 0 0 0 0
    pstring "2045" u8 0 0 0 0
    pstring "2046" u8 0 0 0 0
    pstring "2047" u8 0 0 0 0
    pstring "2048" u8 0 0 0 0
    pstring "2049" u8 0 0 0 0
    pstring "2050" u8 0 0 0 0
    pstring "2051" u8 0 0 0 0
    pstring "2052" u8 0 0 0 0
    pstring "2053" u8 0 0 0 0
    pstring "2054" u8 0 0 0 0
    pstring "2055" u8 0 0 0 0
    pstring "2056" u8 0 0 0 0
    pstring "2057" u8 0 0 0 0
    pstring "2058" u8 0 0 0 0
    pstring "2059" u8 0 0 0 0
    pstring "2060" u8 0 0 0 0
    pstring "2061" u8 0 0 0 0
    pstring "2062" u8 0 0 0 0
    pstring "2063" u8 0 0 0 0
    pstring "2064" u8 0 0 0 0
    pstring "2065" u8 0 0 0 0
    pstring "2066" u8 0 0 0 0
    pstring "2067" u8 0 0 0 0
    pstring "2068" u8 0 0 0 0
    pstring "2069" u8 0 0 0 0
    pstring "2070" u8 0 0 0 0
    pstring "2071" u8 0 0 0 0
    pstring "2072" u8 0 0 0 0
    pstring "2073" u8 0 0 0 0
    pstring "2074" u8 0 0 0 0
    pstring "2075" u8 0 0 0 0
    pstring "2076" u8 0 0 0 0
    pstring "2077" u8 0 0 0 0
    pstring "2078" u8 0 0 0 0
    pstring "2079" u8 0 0 0 0
    pstring "2080" u8 0 0 0 0
    pstring "2081" u8 0 0 0 0
    pstring "2082" u8 0 0 0 0
    pstring "2083" u8 0 0 0 0
    pstring "2084" u8 0 0 0 0
    pstring "2085" u8 0 0 0 0
    pstring "2086" u8 0 0 0 0
    pstring "2087" u8 0 0 0 0
    pstring "2088" u8 0 0 0 0
    pstring "2089" u8 0 0 0 0
    pstring "2090" u8 0 0 0 0
    pstring "2091" u8 0 0 0 0
    pstring "2092" u8 0 0 0 0
    pstring "2093" u8 0 0 0 0
    pstring "2094" u8 0 0 0 0
    pstring "2095" u8 0 0 0 0
    pstring "2096" u8 0 0 0 0
    pstring "2097" u8 0 0 0 0
    pstring "2098" u8 0 0 0 0
    pstring "2099" u8 0 0 0 0
    pstring "2100" u8 0 0 0 0
    u8 0
}

data 'MENU' 611 "EXIF months" {
    i16 611 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "1" u8 0 0 0 0
    pstring "2" u8 0 0 0 0
    pstring "3" u8 0 0 0 0
    pstring "4" u8 0 0 0 0
    pstring "5" u8 0 0 0 0
    pstring "6" u8 0 0 0 0
    pstring "7" u8 0 0 0 0
    pstring "8" u8 0 0 0 0
    pstring "9" u8 0 0 0 0
    pstring "10" u8 0 0 0 0
    pstring "11" u8 0 0 0 0
    pstring "12" u8 0 0 0 0
    u8 0
}

data 'MENU' 612 "EXIF days" {
    i16 612 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "1" u8 0 0 0 0
    pstring "2" u8 0 0 0 0
    pstring "3" u8 0 0 0 0
    pstring "4" u8 0 0 0 0
    pstring "5" u8 0 0 0 0
    pstring "6" u8 0 0 0 0
    pstring "7" u8 0 0 0 0
    pstring "8" u8 0 0 0 0
    pstring "9" u8 0 0 0 0
    pstring "10" u8 0 0 0 0
    pstring "11" u8 0 0 0 0
    pstring "12" u8 0 0 0 0
    pstring "13" u8 0 0 0 0
    pstring "14" u8 0 0 0 0
    pstring "15" u8 0 0 0 0
    pstring "16" u8 0 0 0 0
    pstring "17" u8 0 0 0 0
    pstring "18" u8 0 0 0 0
    pstring "19" u8 0 0 0 0
    pstring "20" u8 0 0 0 0
    pstring "21" u8 0 0 0 0
    pstring "22" u8 0 0 0 0
    pstring "23" u8 0 0 0 0
    pstring "24" u8 0 0 0 0
    pstring "25" u8 0 0 0 0
    pstring "26" u8 0 0 0 0
    pstring "27" u8 0 0 0 0
    pstring "28" u8 0 0 0 0
    pstring "29" u8 0 0 0 0
    pstring "30" u8 0 0 0 0
    pstring "31" u8 0 0 0 0
    u8 0
}

data 'MENU' 613 "EXIF shutter speeds" {
    i16 613 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "30" u8 0 0 0 0
    pstring "15" u8 0 0 0 0
    pstring "8" u8 0 0 0 0
    pstring "4" u8 0 0 0 0
    pstring "2" u8 0 0 0 0
    pstring "1" u8 0 0 0 0
    pstring "1/2" u8 0 0 0 0
    pstring "1/4" u8 0 0 0 0
    pstring "1/8" u8 0 0 0 0
    pstring "1/15" u8 0 0 0 0
    pstring "1/30" u8 0 0 0 0
    pstring "1/60" u8 0 0 0 0
    pstring "1/125" u8 0 0 0 0
    pstring "1/250" u8 0 0 0 0
    pstring "1/500" u8 0 0 0 0
    pstring "1/1000" u8 0 0 0 0
    pstring "1/2000" u8 0 0 0 0
    u8 0
}

data 'MENU' 614 "EXIF apertures" {
    i16 614 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "F1" u8 0 0 0 0
    pstring "F1.4" u8 0 0 0 0
    pstring "F2" u8 0 0 0 0
    pstring "F2.8" u8 0 0 0 0
    pstring "F4" u8 0 0 0 0
    pstring "F5.6" u8 0 0 0 0
    pstring "F8" u8 0 0 0 0
    pstring "F11" u8 0 0 0 0
    pstring "F16" u8 0 0 0 0
    pstring "F22" u8 0 0 0 0
    pstring "F32" u8 0 0 0 0
    u8 0
}

data 'MENU' 615 "EXIF ISO speeds" {
    i16 615 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "50" u8 0 0 0 0
    pstring "64" u8 0 0 0 0
    pstring "100" u8 0 0 0 0
    pstring "200" u8 0 0 0 0
    pstring "400" u8 0 0 0 0
    pstring "800" u8 0 0 0 0
    pstring "1600" u8 0 0 0 0
    u8 0
}

data 'MENU' 616 "EXIF flash" {
    i16 616 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${EXIF_FLASH_OFF}" u8 0 0 0 0
    pstring "${EXIF_FLASH_ON}" u8 0 0 0 0
    u8 0
}

data 'MENU' 617 "EXIF exposure modes" {
    i16 617 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${EXIF_MODE_AUTO}" u8 0 0 0 0
    pstring "${EXIF_MODE_MANUAL}" u8 0 0 0 0
    pstring "${EXIF_MODE_BRACKET}" u8 0 0 0 0
    u8 0
}

data 'MENU' 618 "EXIF scene types" {
    i16 618 0 0 0 0  u32 0xFFFFFFFF  pstring ""
    pstring "${EXIF_SCENE_STANDARD}" u8 0 0 0 0
    pstring "${EXIF_SCENE_LANDSCAPE}" u8 0 0 0 0
    pstring "${EXIF_SCENE_PORTRAIT}" u8 0 0 0 0
    pstring "${EXIF_SCENE_NIGHT}" u8 0 0 0 0
    u8 0
}

layout 600 "EXIF" {
    dlog 'DEXF' {
        title "${EXIF_DIALOG}"  windowClass 4  bounds 0 0 470 760
        {
            capt { id 'TXPG' size 90 16 at 20 18 text "${EXIF_PAGE}" }
            Cpop { id 'FILP' size 250 20 at 110 14 title "" menu 0 message 'FILP' }
            cbox { id 'CTIT' size 18 18 at 20 52 title "" message 'CTIT' max 1 }
            capt { id 'TXTL' size 110 16 at 42 54 text "${EXIF_TITLE}" }
            etxt { id 'GTIT' size 190 22 at 160 52 text "" maxChars 64 filter 0 message 'GTIT' }
            cbox { id 'CPAR' size 18 18 at 20 86 title "" message 'CPAR' max 1 }
            capt { id 'TXCT' size 110 16 at 42 88 text "${EXIF_AUTHOR}" }
            etxt { id 'GPAR' size 190 22 at 160 86 text "" maxChars 64 filter 0 message 'GPAR' }
            cbox { id 'CDAY' size 18 18 at 20 120 title "" message 'CDAY' max 1 }
            capt { id 'TXTM' size 110 16 at 42 122 text "${EXIF_DATE}" }
            Cpop { id 'STYP' size 74 20 at 160 120 title "" menu 610 message 'STYP' value 101 }
            Cpop { id 'STMP' size 54 20 at 238 120 title "" menu 611 message 'STMP' value 1 }
            Cpop { id 'STDP' size 54 20 at 296 120 title "" menu 612 message 'STDP' value 1 }
            cbox { id 'CEXP' size 18 18 at 20 154 title "" message 'CEXP' max 1 }
            capt { id 'TXEX' size 110 16 at 42 156 text "${EXIF_SCENE}" }
            Cpop { id 'GEXP' size 190 20 at 160 154 title "" menu 618 message 'GEXP' value 1 }
            cbox { id 'CMOD' size 18 18 at 20 188 title "" message 'CMOD' max 1 }
            capt { id 'TXMD' size 110 16 at 42 190 text "${EXIF_MODE}" }
            Cpop { id 'MODP' size 190 20 at 160 188 title "" menu 617 message 'MODP' value 1 }
            cbox { id 'CSPD' size 18 18 at 20 222 title "" message 'CSPD' max 1 }
            capt { id 'TXSS' size 110 16 at 42 224 text "${EXIF_SHUTTER}" }
            Cpop { id 'SPED' size 190 20 at 160 222 title "" menu 613 message 'SPED' value 1 }
            cbox { id 'CSBR' size 18 18 at 20 256 title "" message 'CSBR' max 1 }
            capt { id 'TXAV' size 110 16 at 42 258 text "${EXIF_APERTURE}" }
            Cpop { id 'SBOR' size 190 20 at 160 256 title "" menu 614 message 'SBOR' value 1 }
            cbox { id 'CFLS' size 18 18 at 20 290 title "" message 'CFLS' max 1 }
            capt { id 'TXFL' size 110 16 at 42 292 text "${EXIF_FLASH}" }
            Cpop { id 'FLAS' size 190 20 at 160 290 title "" menu 616 message 'FLAS' value 1 }
            cbox { id 'CISO' size 18 18 at 20 324 title "" message 'CISO' max 1 }
            capt { id 'TXFS' size 110 16 at 42 326 text "${EXIF_ISO}" }
            Cpop { id 'FISO' size 190 20 at 160 324 title "" menu 615 message 'FISO' value 1 }
            cbox { id 'CCMT' size 18 18 at 20 358 title "" message 'CCMT' max 1 }
            capt { id 'TXUC' size 110 16 at 42 360 text "${EXIF_COMMENT}" }
            etxt { id 'CMNT' size 190 22 at 160 358 text "" maxChars 255 filter 0 message 'CMNT' }
            cbox { id 'SVCK' size 330 18 at 20 398 title "${EXIF_USE_DEFAULT}" message 'SVCK' max 1 }
            TTbl { id 'EXFV' size 336 400 at 404 14 rows 0 cols 0 rowHeight 14 colWidth 168 traits 139 }
            push { id 'APLY' size 110 20 at 404 432 title "${EXIF_APPLY}" message 'APLY' }
            push { id 901 size 80 20 at 564 432 title "${CANCEL}" message 901 }
            push { id 900 size 80 20 at 660 432 title "${OK}" message 900 default 1 }
        }
    }
}

data 'RidL' 600 {
    u16 24
    i32 'FILP' 'CTIT' 'CPAR' 'STYP' 'STMP' 'STDP' 'CDAY' 'CEXP' 'GEXP' 'CMOD' 'MODP' 'CSPD' 'SPED' 'CSBR' 'SBOR' 'CFLS' 'FLAS' 'CISO' 'FISO' 'CCMT' 'SVCK' 'APLY' 900 901
}

# The information table's text: 10 points, plain, left, the letters alone, black.
data 'Txtr' 139 "EXIF table" {
    i16 10  i16 0  i16 0  i16 1  u16 0 0 0  i16 0  pstring[256] ""
}
