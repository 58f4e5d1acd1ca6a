#pragma once
// The bilingual text table: every caption, header, status text, message, question, the open
// dialog's filter and unit name in Chinese and English.
//
// Representation: the table is kept in UTF-8 source and every function here returns UTF-8
// text (plain ASCII for English). The Chinese texts are the system's GBK texts re-encoded;
// where GBK bytes are needed (data written for other software, help file) use the converters
// in files/text_encoding.h. Language 0 selects Chinese; PickText and PickCaption treat any
// other value as English, OpenFilterText and FillUnitNames give nothing for values other than 0/1.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "records/text_id.h"
#include "theolink_version.h"

namespace theolink {

enum class UnitKind { Angle, Distance };

// The text of an entry in the given language (for a question: its message).
std::string_view PickText(TextId id, int language);
// The same in the current program language (app/language.h).
std::string_view PickText(TextId id);

// The caption of a question entry; empty for entries that are not questions.
std::string_view PickCaption(TextId id, int language);
std::string_view PickCaption(TextId id);

// pattern with each %1 to %9 replaced by the value of that number; a mark without a value
// stays as it is.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);

// True for the entries that are asked as questions (message plus caption).
bool IsQuestion(TextId id);

// The open dialog's filter ("description(patterns)|patterns|..."); empty for a language
// other than 0 or 1. The save filters come from the save format table (files/save_formats.h).
std::string OpenFilterText(int language);

// Appends the unit names of the language in index order (three names); nothing for a
// language other than 0 or 1.
void FillUnitNames(UnitKind kind, int language, std::vector<std::string>& names);

// The main window caption: the title, one blank and the version, "%s %s".
std::string WindowTitle(int language);

// The version text shown after the title: "v" and the project version.
inline constexpr std::string_view kVersionText = "v" THEOLINK_VERSION;

}  // namespace theolink
