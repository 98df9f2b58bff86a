#pragma once
// CSupportFiles writes the files the program carries inside itself to disk: the report
// template into the data folder, and the style sheet and images that the HTML report refers
// to into "inventory_files" beside the report. A file that cannot be written fails the run:
// a report without its template is empty, and one without its style sheet is unreadable.
#include <string>

#include "config/run_flags.h"

// Resource ids that are read outside this class.
enum InventoryResource : int {
    kHtmlTemplateResource = 200,
    kLicenceResource = 213,
    kYamlTemplateResource = 214,
};

class CSupportFiles {
  public:
    // Both folders end with the path separator.
    CSupportFiles(std::wstring dataFolder, std::wstring outputFolder);

    // The template of the run's report kind, then, for HTML runs that are not portable, the
    // support files. Empty when all are written; otherwise the message that ends the run.
    std::wstring ExtractAll(const RunFlags& flags);
    std::wstring ExtractAll() { return ExtractAll(GetRunFlags()); }

    // Writes one resource to one file, creating its folder with all missing parents. False
    // when it could not be written; a resource the program does not carry writes nothing.
    bool WriteResourceFile(int id, const std::wstring& path, bool overwrite);

    // The resource as UTF-8 text; empty when the program does not carry it.
    static std::wstring LoadTextResource(int id);

  private:
    std::wstring m_dataFolder;
    std::wstring m_outputFolder;
};
