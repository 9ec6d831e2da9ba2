#pragma once
// The open and save file dialogs.
#include <string>

#include "gui/component.h"

namespace korvel {

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    std::string ClassName() const override { return "TOpenDialog"; }

    // "Description|*.ext|Description|*.a;*.b" pairs.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& value) { filter_ = value; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& value) { initialDir_ = value; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }
    // The dialog proposes it, and keeps it when cancelled; a confirmed dialog
    // holds the chosen full path.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }

    // Shows the dialog modally over the active window; true when confirmed.
    bool Execute();

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    std::string filter_;
    int filterIndex_ = 1;
    std::string defaultExt_;
    std::string initialDir_;
    std::string title_;
    std::string fileName_;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    std::string ClassName() const override { return "TSaveDialog"; }

protected:
    bool IsSaveDialog() const override { return true; }
};

}  // namespace korvel
