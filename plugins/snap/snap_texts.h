// The snapshot tool's fixed strings: its name and maker, the folder and
// file names it writes, and its error messages.
#pragma once

namespace snap_texts {

inline constexpr char kName[] = "スナップ";
inline constexpr char kMaker[] = "Panelry";

// snap\00000.bmp to snap\99999.bmp, beside the tool's file.
inline constexpr char kFolder[] = "snap";
inline constexpr char kFileFormat[] = "snap\\%.5d";
inline constexpr char kFileExtension[] = "bmp";

inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kPathNotFound[] =
    "Error@CreateDirectory:\n存在しないフォルダ内に snap フォルダを作成しようとしました";
inline constexpr char kNameTooLong[] = "Error@CreateDirectory:\nフォルダ名が長すぎます";
inline constexpr char kUnknown[] = "Error@CreateDirectory:\n未知のエラー";

}  // namespace snap_texts
