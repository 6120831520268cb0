# Texts of the preview dialog and its tool tips, in Japanese.

strings 500 "Preview" {
    ""
    ""
    "保存"
    "%sページ"
    "閉じる"
    "保存先："
    "追加先："
}

strings 10003 "Preview tool tips" {
    ""
    "ダブルクリックで拡大します。ドラッグで移動します。"
    ""
    "チェックしたページを書き出してプレビューを閉じます。"
    "チェックしたページを保存します。プレビューは開いたままです。"
}
