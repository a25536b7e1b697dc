// The root of the framework's classes, with the one operation every object may replace:
// storing itself to, or loading itself from, an archive.
#pragma once

class CArchive;

class CObject {
  public:
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& /*ar*/) {}
    friend bool operator==(const CObject&, const CObject&) = default;
};
