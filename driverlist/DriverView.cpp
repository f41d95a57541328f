#include "driverlist/DriverView.h"

CDriverView::CDriverView(QWidget* parent) : CView(parent) {}

CDriverView::~CDriverView() = default;

// The list paints itself.
void CDriverView::OnDraw(CDC*) {}
