# Texts of the main window and the default file names, in this language.

# Button names (items 1 to 9) and the Settings popup text (10).
strings 300 "Button names" {
    "コピー"  # 1
    "プリント"  # 2
    "メール"  # 3
    "ＯＣＲ"  # 4
    "保存"  # 5
    "ファイル"  # 6
    "スキャン１"  # 7
    "スキャン２"  # 8
    "設定"  # 9
    "スキャナ"  # 10
}

strings 310 "Window title" {
    "Wendrix"
}

# Tool tips of the main window.
strings 10001 "Tool tips" {
    "メール：スキャンしてメールソフトで送ります"  # 1
    "コピー：スキャンしてすぐに印刷します"  # 2
    "プリント：スキャンして印刷方法を選びます"  # 3
    "保存：スキャンしてファイルに保存します"  # 4
    "スキャン１・２：好みの設定でスキャンしてアプリケーションで開きます"  # 5
    "ＯＣＲ：スキャンして文字を読み取ります"  # 6
    "設定：スキャナとフォルダを選びます"  # 7
    "このスキャナボタンを、ボタンのない機能へドラッグすると、その機能をボタンで実行できます"  # 8
    "ファイル：スキャンして保存し、アプリケーションで開きます"  # 9
    "このスキャナのヘルプ"  # 10
}

# Each function's default base file name, also the first name of its history; the Mail
# dialog's then the label before its folder, or before the PDF a copy is made of.
strings 2000 "Mail dialog" { "Mail"  "保存先："  "追加先：" }
# The OCR dialog: the default base name, then the name shown when no OCR application is chosen.
strings 3000 "OCR dialog" { "OCR"  "なし" }
# The Save dialog's default base name, then the label before its folder, or before the PDF
# the pages are added to.
strings 4000 "Default file name" { "Scan"  "保存先："  "追加先：" }
# The File dialog: the default base name, what it shows when no application is chosen, then
# the label before its folder, or before the PDF the pages are added to.
strings 5000 "File dialog" { "File"  "（アプリケーションなし）"  "保存先："  "追加先：" }
# Scan-1's and Scan-2's default base name, then what they show when no application is chosen.
strings 6000 "Default file name" { "Scan1"  "（アプリケーションなし）" }
strings 7000 "Default file name" { "Scan2"  "（アプリケーションなし）" }

# EXIF texts: the make (1) and the software (8), then the EXIF dialog's values.
strings 601 "EXIF" {
    "Dremlo"
    ""
    "カラー"
    " ピクセル"
    "インチ"
    ""
    ""
    "Wendrix 5.0"
    "モノクロ"
    "不明"
    "フィルムスキャナ"
    "反射原稿スキャナ"
    "デジタルカメラ"
}

# The mail chooser's row that stands for no application.
strings 2100 "Mail application" {
    "（アプリケーションなし）"
}
