#include "containers/messages.h"
#include "reports/special_item.h"

#include <iostream>
#include <limits>
#include <sstream>

void SpecialItem::buildSpecialItem(int n) {
  averagedTimeCourseSize = 0;
  averagedTimeCourseSizeMax = 10;
  timeCourseIndex = 0;
  timeCourseSize = n / averagedTimeCourseSizeMax;
  averagedTimeCourse.reset(new double[averagedTimeCourseSizeMax]());
  timeCourse.reset(new double[timeCourseSize]);
}

void SpecialItem::addValue(double value) {
  if (timeCourseIndex < timeCourseSize) {
    timeCourse[timeCourseIndex++] = value;
  } else {
    engineMessages() << "ERREUR : le tableau timeCourse depasse la borne sup." << '\n';
  }
  if (timeCourseIndex >= timeCourseSize) {
    timeCourseIndex = 0;
    calculateAverageValue();
  }
}

void SpecialItem::calculateAverageValue() {
  double sum = 0.0;
  for (int i = 0; i < timeCourseSize; ++i) sum += timeCourse[i];
  // The mean of an empty block is not a number (inputs of fewer than 10 ids).
  const double mean =
      timeCourseSize > 0 ? sum / timeCourseSize : std::numeric_limits<double>::quiet_NaN();
  if (averagedTimeCourseSize < averagedTimeCourseSizeMax) {
    averagedTimeCourse[averagedTimeCourseSize++] = mean;
  } else {
    engineMessages() << "ERREUR : le tableau averagedTimeCourse depasse la borne sup." << '\n';
  }
}

std::string SpecialItem::toString() const {
  std::ostringstream out;
  out << name << " : ";
  for (int i = 0; i < averagedTimeCourseSizeMax; ++i) out << averagedTimeCourse[i] << " ";
  return out.str();
}

SpecialItems::~SpecialItems() { delete[] itemArray; }

void SpecialItems::buildSpecialItems(int n) {
  delete[] itemArray;
  itemArray = n > 0 ? new SpecialItem[n] : nullptr;
  itemCount = n > 0 ? n : 0;
}

void SpecialItems::buildAllSpecialItems(int n) {
  for (int i = 0; i < itemCount; ++i) itemArray[i].buildSpecialItem(n);
}

std::string SpecialItems::toString() const {
  std::string text;
  for (int i = 0; i < itemCount; ++i) text += itemArray[i].toString() + "\n";
  return text;
}
