// How a part of the program that shows or writes texts obtains them: a
// function of the string file's section and item path, answering in one
// language. The text catalogue (textcatalogue.h) gives one for the current
// language; catalogTextLookup gives the built-in texts of a fixed language
// where no string file is at hand (the command line, tests).
#pragma once

#include <QString>

#include <functional>

using TextLookup = std::function<QString(const QString &section, const QString &path)>;

// The built-in default texts of the string catalogue in one language
// (0 Russian, 1 English).
TextLookup catalogTextLookup(int language);
