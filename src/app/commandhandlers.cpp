// SPDX-License-Identifier: GPL-3.0-or-later
// Commands: favourites, minimise, exit, web pages and the about box.
#include "app/learning.h"
#include "app/wendarodlg.h"

void CWendaroDlg::OnShowFavourites() {
  if (!model_.ShowFavourites()) return;
  SelectCategory();
  book_.SetFavouritesView(true);
}

void CWendaroDlg::OnToggleFavourite() {
  model_.ToggleFavourite();
  // After a removal the first remaining favourite is selected and shown in
  // the model; its texts must reach the controls too.
  TransferToControls();
  update(textArea_);
  if (learning_ != nullptr) learning_->UpdateDueCount();
}

void CWendaroDlg::OnMinimise() { showMinimized(); }

// The same as Escape: the modal run ends, nothing is pending.
void CWendaroDlg::OnExit() { reject(); }

void CWendaroDlg::OnUpdatePage() { OpenWebPage(1046); }

void CWendaroDlg::OnTechPage() { OpenWebPage(1047); }

void CWendaroDlg::OnReportPage() { OpenWebPage(1048); }

void CWendaroDlg::OnAbout() { ShowAboutBox(); }
