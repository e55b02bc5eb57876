#pragma once
// CContactInfoBoard: the contact pane. The contact picture, then ten
// labelled rows (Name, Phone, Email, Note, Company, Address, IM, NickName,
// Website, Others) whose values break into lines; a value longer than its
// box makes the card taller, and the scroll range covers the whole card.
//
// WM_SHOW_CONTACT (lParam: the ContactRecord, or 0) shows it, as
// show_contact() does; the owner keeps the record alive while it is shown.
#include <windows.h>

#include "records/contact_record.h"
#include "ui/contact_card_layout.h"
#include "ui/pane_win32.h"
#include "ui/skin_image_win32.h"

namespace qf::ui {

class CContactInfoBoard : public CScrollPane {
 public:
  CContactInfoBoard();
  bool create(const ControlCreateArgs& args);
  void show_contact(const ContactRecord* contact);
  const ContactRecord* contact() const { return contact_; }
  int card_height() const { return card_height_; }
  const std::array<CardRow, kCardRows>& rows() const { return rows_; }

 protected:
  void paint_content(HDC dc, int top, int width, int height) override;
  int content_height() const override { return contact_ ? card_height_ : 0; }
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void lay_out();
  int value_width() const;

  SkinImage picture_;
  const ContactRecord* contact_ = nullptr;
  std::array<std::vector<std::string>, kCardRows> lines_;
  std::array<CardRow, kCardRows> rows_ = card_rows();
  int line_height_ = 14;
  int card_height_ = 0;
};

}  // namespace qf::ui
