#pragma once
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "model/Dictionary.h"

class QWidget;

// The viewer's dictionary file, whose definitions apply before every
// message: its path is kept under the settings key "Dictionary".
QString DictionaryFilePath();

// The definitions of that file, read again only when its path or time of
// change differ from the last read; empty when none is set or it cannot be
// read. pErrors receives what loading said ("FILE:LINE: reason").
std::shared_ptr<const CDictionary> ViewerDictionary(std::vector<std::string>* pErrors = nullptr);

// "Dictionary File...": lets the user choose the file (or, cancelled,
// keeps the one set) and names the lines it could not use. True when a
// file was chosen.
bool ChooseDictionaryFile(QWidget* pParent);
