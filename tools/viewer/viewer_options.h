// Command line of the sample viewer. Plain C++, so it is tested without windows.
#pragma once

#include <string>
#include <vector>

struct ViewerOptions {
    std::wstring strClassName;               // class of the document windows
    std::vector<std::wstring> documentNames;  // names given on the command line
    int nGenericWindows = -1;                 // --windows N; -1 when not given
    bool bHidden = false;                     // --hidden: never show documents
    bool bStay = false;                       // --stay: keep running with no documents
    std::wstring strError;                    // empty when the command line is valid
};

// Options: --class NAME, --windows N, --hidden, --stay. Every other argument
// not starting with "--" is a document name.
ViewerOptions ParseViewerOptions(const std::vector<std::wstring>& args);

// The names of the documents to open at start: those given, then
// "Document 1".."Document N" for --windows N; with neither, three samples.
// "--windows 0" alone starts with no document at all.
std::vector<std::wstring> StartupDocuments(const ViewerOptions& options);

std::wstring GenericDocumentName(int number);
