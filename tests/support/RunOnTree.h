#pragma once

#include "run/CollectionRun.h"
#include "support/FakeRunWindow.h"
#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "toolkit/clsFileFolder.h"

#include <string>

/// A run from `source` into `dest`, wired as the program wires it, its journals in
/// `journals` and the file operations' questions (the trash's) answered yes.
struct RunOnTree {
    FakeUser user;
    clsFileFolder toolkit{user.services()};
    FakeRunWindow window;
    run::CollectionRun collection{window, toolkit, user.services()};

    RunOnTree(const std::string& source, const std::string& dest, run::Operation operation,
              const std::string& journals)
    {
        user.operations.answers = {"はい"};
        window.source = source;
        window.dest = dest;
        window.operation = operation;
        collection.setJournalFolder(journals);
    }

    /// From src/ into dest/ of `tree`, the journals in state/.
    RunOnTree(const TempTree& tree, run::Operation operation)
        : RunOnTree(tree.path("src"), tree.path("dest"), operation, tree.path("state"))
    {
    }
};
