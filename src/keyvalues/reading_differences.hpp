#pragma once

#include <cstddef>
#include <map>
#include <span>
#include <vector>

#include "keyvalues/finding.hpp"
#include "keyvalues/key_values.hpp"

namespace velmora {

// Where readers of the format read the keys and values of nodes (and every node inside them)
// differently from the server, or where the server reads them unlike what their writer most
// likely meant: a key or value that is not UTF-8, holds a backslash or a control character,
// or runs over several lines, and a condition. One finding each, in the order read.
void addReadingDifferences(const keyvalues::Node& node, std::vector<FileFinding>& found);

// The findings about keys read apart from their document as it was parsed, by the opening
// brace of the block that holds them.
using FindingsByBlock = std::map<std::size_t, std::vector<FileFinding>>;

// The reading differences of nodes, with those of the keys read apart in their place.
std::vector<FileFinding> readingDifferences(std::span<const keyvalues::Node> nodes,
                                            const FindingsByBlock& readApart);

}  // namespace velmora
