#pragma once

#include <QString>

// The string table. Texts are German in the code and looked up by id at the
// moment they are used, through the installed translators, so a language
// switch reaches every later lookup. An unknown id gives an empty text.
QString LoadString(unsigned id);
