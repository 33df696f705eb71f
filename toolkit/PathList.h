#pragma once

#include <string>
#include <vector>

/// A list of paths, index from 0, as the toolkit's searches return it. The number of
/// entries comes from the matching count property, never from size(): an empty
/// result still holds one element, the empty text.
using PathList = std::vector<std::string>;
