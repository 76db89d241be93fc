#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "reader/WPXMessages.h"
#include "reader/WPXModel.h"
#include "reader/WPXProcessView.h"

/// The picture of what an export made: one SVG per process (its window, activities, connectors,
/// sources and sinks at their layout positions) and an index.html that lists the processes, the
/// counts of each construct kind and the checker's findings, each linked to its line of the file.
/// Plain SVG and HTML, no script, readable offline.
namespace wpx {

/// The SVG of one process.
std::string ProcessSvg(const ProcessView& view);

/// The file name of the n-th process's picture, from 1 ("process-1.svg").
std::string ProcessSvgName(std::size_t number);

/// index.html for a definition file: `fileName` as shown, its text in UTF-8 for the listing.
std::string IndexHtml(const std::string& fileName, const File& file, const std::vector<Finding>& findings,
                      std::string_view utf8Text, const TextFunction& text);

/// Read and check the definition file's bytes and write `folder`/index.html and one SVG per
/// process (the folder is created when missing). False with the reason in `error` when a file
/// cannot be written.
bool WritePreview(const std::string& folder, const std::string& fileName, std::string_view bytes,
                  const TextFunction& text, std::string& error);

}  // namespace wpx
