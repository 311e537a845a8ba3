/* The library's own user texts and resource ids, in one place: the resource
 * script compiles them into the DLL's string table and dialog, and the POSIX
 * build, which has no resources, takes them from here. This file is read by
 * the resource compiler as well as by C++, so it holds only macros. */

#ifndef TN_RESOURCE_TEXTS_H
#define TN_RESOURCE_TEXTS_H

/* A text is a wide literal to C++ and a plain one to the resource compiler:
 * windres reads a plain literal in the script's code page (UTF-8) but takes
 * the bytes of a wide one as they stand, one character each. */
#ifdef RC_INVOKED
#define TN_RESOURCE_TEXT(text) text
#else
#define TN_RESOURCE_TEXT(text) L##text
#endif

/* String table */
#define IDS_INHERIT_SETTINGS 4000
#define TEXT_INHERIT_SETTINGS TN_RESOURCE_TEXT("以前の設定を引き継ぎますか？")
#define IDS_USE_LAYER_TEMPLATES 4001
#define TEXT_USE_LAYER_TEMPLATES TN_RESOURCE_TEXT("レイヤテンプレートが存在します。\nレイヤテンプレートを使用しますか？")

/* Dialog 4001: which product's previous settings to inherit */
#define IDD_SELECT_INHERIT_APP_SETTING 4001
#define IDC_INHERIT_LUMEN 4000
#define IDC_INHERIT_LUMEN_PATRON 4001
#define TEXT_SELECT_INHERIT_CAPTION TN_RESOURCE_TEXT("OrvoLumen")
#define TEXT_SELECT_INHERIT_PROMPT TN_RESOURCE_TEXT("以下の設定が存在します。\n設定を引き継ぎますか？")
#define TEXT_SELECT_INHERIT_LUMEN TN_RESOURCE_TEXT("OrvoLumen")
#define TEXT_SELECT_INHERIT_LUMEN_PATRON TN_RESOURCE_TEXT("OrvoLumenPatron")
#define TEXT_SELECT_INHERIT_OK TN_RESOURCE_TEXT("はい")
#define TEXT_SELECT_INHERIT_CANCEL TN_RESOURCE_TEXT("いいえ")

#endif
