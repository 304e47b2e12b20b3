// What a document window shows.
#pragma once

#include <string>

// The first few KB of the file `name` when it exists, read as UTF-8;
// otherwise a made-up paragraph that mentions the name.
std::wstring LoadDocumentText(const std::wstring& name);
