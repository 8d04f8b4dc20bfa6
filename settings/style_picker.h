// The style picker "Добавление стиля": a tree of the open project's maps,
// their layers and the layers' styles, read through the host's SDK layer.
// Only a style node can be confirmed; its identifier is then SelectedStyleId.
#pragma once

#include <windows.h>

#include <deque>
#include <string>

#include "gis/records.h"
#include "ui/form.h"

class TfSelectStyle : public ui::Form {
  public:
    TfSelectStyle();

    // 8-bit identifier (code page 1251): set before showing to preselect that
    // style; after a confirmed close, the chosen style.
    std::string SelectedStyleId;

  protected:
    void OnCreate() override;  // FormCreate: builds the tree
    void OnShow() override;    // FormShow: preselection

  private:
    void BuildTree();
    void PreselectStyle();
    void MatchNode(HTREEITEM node);
    void trv1DblClick();
    void Button1Click();
    // The selected node's identifier when it is a style node.
    const kavrel::M2Id* ChosenStyle() const;

    // Each layer and style node owns its copy of its identifier for the life
    // of the tree; the node carries its address. A deque keeps the addresses.
    std::deque<kavrel::M2Id> nodeIds_;
};
