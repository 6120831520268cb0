# Texts of the page straightening's alerts, in Japanese.

# Stop alert 129: what failed; items 7 and 12 are followed by the framework's status.
strings 129 "Straightening errors" {
    "ページのファイルを開けませんでした。"                                      # 1
    "ページのファイルの大きさを読み取れませんでした。"                          # 2
    "ページを補正するためのメモリが足りません。"                                # 3
    "ページのファイルを読み込めませんでした。"                                  # 4
    "ページのファイルは補正できるTIFFファイルではありません。"                  # 5
    ""                                                                          # 6 (not used)
    "補正を開始できませんでした。エラー："                                      # 7
    ""                                                                          # 8 (not used)
    ""                                                                          # 9 (not used)
    ""                                                                          # 10 (not used)
    ""                                                                          # 11 (not used)
    "ページを補正できませんでした。エラー："                                    # 12
    "補正したページを書き込めませんでした。"                                    # 13
    "補正したページで元のファイルを置き換えられませんでした。元のファイルは残っています。"  # 14
}

# Note alert 130.
strings 130 "Straightening" {
    ""                                                                          # 1 (not used)
    "ページの傾きを補正しました。"                                              # 2
}
