#include "app/left_list_pictures.h"

#include "browser/file_list_box.h"
#include "browser/file_list_model.h"
#include "browser/file_pane.h"

namespace tarvelin {

int LeftListPictures::count() const {
    return m_pane.files().rowCount();
}

std::string LeftListPictures::name(int index) const {
    return m_pane.files().list().name(static_cast<size_t>(index));
}

std::string LeftListPictures::folder() const {
    return m_pane.files().folder();
}

int LeftListPictures::focusedIndex() const {
    const QModelIndex current = m_pane.list()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool LeftListPictures::isSelected(int index) const {
    return m_pane.list()->selectionModel()->isSelected(m_pane.files().index(index, 0));
}

void LeftListPictures::setSelected(int index, bool selected) {
    m_pane.list()->selectionModel()->select(
        m_pane.files().index(index, 0),
        selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void LeftListPictures::setFocused(int index) {
    const QModelIndex item = m_pane.files().index(index, 0);
    m_pane.list()->selectionModel()->setCurrentIndex(item, QItemSelectionModel::NoUpdate);
    m_pane.list()->scrollTo(item);
}

void LeftListPictures::updateInformationStrip() {
    // The pane's strip follows every selection and focus change of its list by itself.
}

}  // namespace tarvelin
