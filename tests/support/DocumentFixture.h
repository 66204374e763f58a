// A test fixture for code that works on the document: a fresh document per test and a view that
// counts redraws and arriving pictures, removed again at the end.
#pragma once

#include <gtest/gtest.h>

#include "app/Document.h"

namespace lf::test {

// Orders the selection on each redraw as the window does, so tests see what the user would.
class CountingView final : public DocumentView {
public:
    void ReDraw() override {
        OrderSelection();
        ++redraws;
    }
    void UndoEnabledChanged(bool) override {}
    void PictureArrived() override { ++arrivals; }
    int redraws = 0;
    int arrivals = 0;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        SetDocumentView(&view);
    }
    void TearDown() override {
        SetDocumentView(nullptr);
        ResetDocument();
    }
    CountingView view;
};

}  // namespace lf::test
