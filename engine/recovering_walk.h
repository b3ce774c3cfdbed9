// RecoveringWalk: the walk that goes on after a fault. It hands tokens to a GrammarWalk;
// after a fault it passes over the text up to where the grammar can start again (the
// grammar's resume_at) and walks on from there with a fresh walk, so every fault of a file
// is found in one pass, in file order, each at its own byte.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "diagnostic.h"
#include "token_splitter.h"
#include "walk.h"

template <class G>
class RecoveringWalk {
public:
    // `text` is the text being walked (it ends before any zero byte).
    explicit RecoveringWalk(std::string_view text) : text_(text) {}

    template <class SomeToken>
    int step(const SomeToken& t) {
        if (skipping_) {
            if (t.token().start < static_cast<std::int32_t>(resume_)) return TokenSplitter::every_token;
            skipping_ = false;
            walk_ = GrammarWalk<G>();
            segment_ = resume_;
        }
        const int next = walk_.step(t);
        if (next != TokenSplitter::stop_visit) return next;
        std::optional<Diagnostic> fault = walk_.result(0);
        resume_ = G::resume_at(text_, static_cast<std::size_t>(fault->start));
        faults_.push_back(std::move(*fault));
        // Passing over tokens up to the resume point; with none the walk is over.
        skipping_ = true;
        return resume_ == std::string_view::npos ? TokenSplitter::stop_visit : TokenSplitter::every_token;
    }

    // Every fault found, and the one the end of a text of `size` bytes leaves. A fault at
    // the end notes where what was left open began, found by walking the last part again
    // with a walk that keeps track of it.
    std::vector<Diagnostic> result(std::int32_t size) && {
        if (skipping_) return std::move(faults_);
        std::optional<Diagnostic> end = walk_.result(size);
        if (!end) return std::move(faults_);
        GrammarWalk<G, true> tracker;
        TokenSplitter splitter;
        register_grammar<G>(splitter);
        splitter.visit_text(text_.substr(segment_),
                            [&tracker](const TokenSplitter::Found& t) { return tracker.step(t); });
        if (const std::optional<Note> opened = tracker.opened()) {
            Note note = *opened;
            note.start += static_cast<std::int32_t>(segment_);
            end->notes.push_back(note);
        }
        faults_.push_back(std::move(*end));
        return std::move(faults_);
    }

private:
    std::string_view text_;
    GrammarWalk<G> walk_;
    std::vector<Diagnostic> faults_;
    bool skipping_ = false;
    std::size_t resume_ = 0;
    // Where the walk in hand started.
    std::size_t segment_ = 0;
};
