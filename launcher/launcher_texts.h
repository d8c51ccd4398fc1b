// The launcher's texts: why the shell could not open a file.
#pragma once

namespace launcher_texts {

// ShellExecuteA's failure values 0 to 32 and what the user is told of each.
struct ShellFailure {
    unsigned value;
    const char* text;
};
inline constexpr ShellFailure kShellFailures[] = {
    {0, "ＯＳのメモリまたはリソースが足りませんでした．"},
    {2, "ファイルが見つかりませんでした．"},
    {3, "パスが見つかりませんでした．"},
    {5, "ＯＳが指定したファイルへのアクセスを拒否しました．"},
    {8, "処理を完了するのに十分なメモリがありませんでした．"},
    {11, ".exeのファイルが利用できませんでした．"},
    {26, "共有違反が発生しました．"},
    {27, "ファイルに関連づけられた物が不完全かまたは無効です．"},
    {28, "DDE通信でタイムアウトが発生しました．"},
    {29, "DDE通信が失敗しました．"},
    {30, "他のDDEプロセスが通信中だったので、DDE通信が完了できませんでした．"},
    {31, "指定したファイルに関連づけられたアプリケーションが見つかりませんでした．"},
    {32, "指定したDLLファイルが見つからりませんでした．"},
};

}  // namespace launcher_texts
