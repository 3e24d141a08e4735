#include "ui_text.h"

const char kAppName[] = "Brisvane";
const char kTextClassFailed[] = "ウインドウクラスを登録できませんでした";
const char kTextWindowFailed[] = "メインウインドウを作成できませんでした";
const char kTextBootMenuInfo[] = "次回の起動時に、使用するOSをメニューから選ぶことができます。";
const char kCaptionBootMenuInfo[] = "OS選択方法の変更";
const char kTextAbout[] =
    "Brisvane\n"
    "--------------------\n"
    "Auther: Kestrin\n"
    "kestrin@example.jp\n"
    "--------------------\n";
const char kCaptionAbout[] = "About";
const char kTextNotWrittenNoRestart[] =
    "c:\\boot.ini を書き換えられませんでした。再起動は行いません。";
const char kTextRestartRefused[] =
    "再起動できませんでした。次回の起動時に、選択したOSが起動します。";
const char kTextNotWritten[] = "c:\\boot.ini を書き換えられませんでした。";
const char kTextOnlyDefaultWrittenNoRestart[] =
    "c:\\boot.ini の既定のOSは変更しましたが、待ち時間を書き換えられませんでした。再起動は行いません。";
const char kTextOnlyDefaultWritten[] =
    "c:\\boot.ini の既定のOSは変更しましたが、待ち時間を書き換えられませんでした。";
