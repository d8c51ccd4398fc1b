// Text of other applications, which is UTF-16 and may hold characters the
// system's code page (932) cannot: how wide it shows and where it may be
// cut, and this program's own ANSI texts turned wide to stand beside it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The half-width columns one character takes: two for a full-width one
// (CJK, kana, Hangul, emoji, and whatever the code page writes in two
// bytes), one otherwise.
int CharacterColumns(unsigned codePoint);

// How many UTF-16 units of text, taking at most columns half-width columns,
// form whole characters: a cut never falls between the two halves of a
// surrogate pair nor inside a character, and a lone high surrogate at the
// very end is no character.
std::size_t WholeColumns(const wchar_t* text, std::size_t columns);

// An ANSI text of this program in the system's code page, as UTF-16.
std::wstring Widened(const char* ansi);
// UTF-16 in the system's code page, for the program's own ANSI texts and
// files; characters the code page lacks become its default character.
std::string Narrowed(const wchar_t* wide);
