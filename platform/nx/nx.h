// The physics SDK the game is written against: the operations it calls, under
// the SDK's own names. The collision engine behind them lives beside this
// header; game code includes nothing else from this folder.
//
// Everything is created once and lives until the process ends: the SDK, its
// scenes, meshes and actors are never released (the game releases nothing).
// All calls are made from one thread.
#pragma once

#include <cstdint>
#include <vector>

typedef float NxReal;
typedef uint32_t NxU32;

// Version 2.1.2 as the SDK numbers it; NxCreatePhysicsSDK accepts no other.
const NxU32 NX_PHYSICS_SDK_VERSION = 0x02010200;

struct NxVec3 {
  NxReal x = 0.0f, y = 0.0f, z = 0.0f;
  NxVec3() {}
  NxVec3(NxReal ax, NxReal ay, NxReal az) : x(ax), y(ay), z(az) {}
};

// A 3x3 matrix, stored row by row.
struct NxMat33 {
  NxReal m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  void id();
  void setRowMajor(const NxReal values[9]);
  void getRowMajor(NxReal values[9]) const;
};

// A rigid pose: rotation M, then translation t.
struct NxMat34 {
  NxMat33 M;
  NxVec3 t;
  void id();
};

enum NxParameter {
  NX_PENALTY_FORCE = 0,
  NX_SKIN_WIDTH = 1,
  NX_PARAMS_NUM_VALUES = 64,
};

struct NxMaterial {
  NxReal dynamicFriction = 0.0f;
  NxReal staticFriction = 0.0f;
  NxReal restitution = 0.0f;
  NxReal dynamicFrictionV = 0.0f;
  NxReal staticFrictionV = 0.0f;
  NxVec3 dirOfAnisotropy{1.0f, 0.0f, 0.0f};
  NxU32 flags = 0;
};

// Event bits of a contact notification, also the actor-pair flags that ask
// for them.
enum NxContactPairFlag {
  NX_NOTIFY_ON_START_TOUCH = 2,
  NX_NOTIFY_ON_END_TOUCH = 4,
  NX_NOTIFY_ON_TOUCH = 8,
};

enum NxBodyFlag {
  NX_BF_DISABLE_GRAVITY = 1,
  NX_BF_KINEMATIC = 128,
  NX_BF_VISUALIZATION = 256,
};

enum NxShapeType { NX_SHAPE_MESH = 4 };
enum NxShapeFlag { NX_SF_VISUALIZATION = 8 };
enum NxTimeStepMethod { NX_TIMESTEP_FIXED = 0, NX_TIMESTEP_VARIABLE = 1 };
enum NxSimulationStatus { NX_RIGID_BODY_FINISHED = 1 };

class NxActor;
class NxTriangleMesh;

// What a contact notification names: the pair's two actors first.
struct NxContactPair {
  NxActor* actors[2] = {nullptr, nullptr};
  NxVec3 sumNormalForce;
  NxVec3 sumFrictionForce;
  bool isDeletedActor[2] = {false, false};
};

// Receives the contact notifications of the actor pairs that ask for them,
// during the step, on the thread that steps the scene.
class NxUserContactReport {
 public:
  virtual void onContactNotify(NxContactPair& pair, NxU32 events) = 0;

 protected:
  ~NxUserContactReport() {}
};

class NxUserNotify;
class NxUserTriggerReport;
struct NxBounds3;
struct NxSceneLimits;

struct NxSceneDesc {
  NxU32 broadPhase = 2;
  NxVec3 gravity;
  NxUserNotify* userNotify = nullptr;
  NxUserTriggerReport* userTriggerReport = nullptr;
  NxUserContactReport* userContactReport = nullptr;
  NxReal maxTimestep = 1.0f / 60.0f;
  NxU32 maxIter = 8;
  NxTimeStepMethod timeStepMethod = NX_TIMESTEP_FIXED;
  NxBounds3* maxBounds = nullptr;
  NxSceneLimits* limits = nullptr;
  bool groundPlane = false;
  bool boundsPlanes = false;
  bool collisionDetection = true;
  void* userData = nullptr;
};

// Points are 3 floats each and triangles 3 vertex indices each; the strides
// must be 12 bytes and flags 0 (32-bit indices): the SDK copies both arrays.
struct NxTriangleMeshDesc {
  NxU32 numVertices = 0;
  NxU32 numTriangles = 0;
  NxU32 pointStrideBytes = 0;
  NxU32 triangleStrideBytes = 0;
  const void* points = nullptr;
  const void* triangles = nullptr;
  NxU32 flags = 0;
  NxU32 materialIndexStride = 0;
  const void* materialIndices = nullptr;
  NxU32 heightFieldVerticalAxis = 255;
  NxReal heightFieldVerticalExtent = 0.0f;
  void* pmap = nullptr;
  NxReal convexEdgeThreshold = 0.001f;
  NxU32 reserved = 0;
};

// A block of precomputed collision data for one mesh. Filled by
// NxCreatePMap, or by the caller from a file; dataSize bytes at data.
struct NxPMap {
  NxU32 dataSize = 0;
  void* data = nullptr;
};

// The largest density NxCreatePMap accepts, and the length of the block it
// makes then: the longest pmap there is. A longer block is no pmap.
const NxU32 NX_PMAP_MAX_DENSITY = 1024;
const NxU32 NX_PMAP_MAX_BYTES = 52 + NX_PMAP_MAX_DENSITY * NX_PMAP_MAX_DENSITY / 8 * NX_PMAP_MAX_DENSITY;

struct NxShapeDesc {
  NxShapeType type;
  NxMat34 localPose;
  NxU32 shapeFlags = NX_SF_VISUALIZATION;
  NxU32 group = 0;
  NxU32 materialIndex = 0;
  void* userData = nullptr;
  const char* name = nullptr;
  NxReal skinWidth = -1.0f;

 protected:
  explicit NxShapeDesc(NxShapeType t) : type(t) {}
};

struct NxTriangleMeshShapeDesc : NxShapeDesc {
  NxTriangleMesh* meshData = nullptr;
  NxU32 meshFlags = 0;
  NxTriangleMeshShapeDesc() : NxShapeDesc(NX_SHAPE_MESH) {}
};

struct NxBodyDesc {
  NxMat34 massLocalPose;
  NxVec3 massSpaceInertia;
  NxReal mass = 0.0f;
  NxVec3 linearVelocity;
  NxVec3 angularVelocity;
  NxReal wakeUpCounter = 0.4f;
  NxReal linearDamping = 0.0f;
  NxReal angularDamping = 0.05f;
  NxReal maxAngularVelocity = -1.0f;
  NxU32 flags = NX_BF_VISUALIZATION;
  NxReal sleepLinearVelocity = -1.0f;
  NxReal sleepAngularVelocity = -1.0f;
  NxU32 solverIterationCount = 4;
};

// An actor with a body is dynamic; without one it is static. The SDK takes
// what it needs from the shape descriptors during createActor.
struct NxActorDesc {
  NxMat34 globalPose;
  const NxBodyDesc* body = nullptr;
  NxReal density = 1.0f;
  NxU32 flags = 0;
  NxU32 group = 0;
  void* userData = nullptr;
  const char* name = nullptr;
  std::vector<NxShapeDesc*> shapes;
};

class NxTriangleMesh {
 public:
  // Attaches a pmap block made for this mesh (the block is copied). A block
  // that is empty, short, damaged or made for another mesh is refused:
  // false, and the mesh goes on without a pmap.
  virtual bool loadPMap(const NxPMap& pmap) = 0;
  virtual bool hasPMap() const = 0;
  virtual NxU32 getCount(int what) const = 0;  // 0 vertices, 1 triangles

 protected:
  ~NxTriangleMesh() {}
};

class NxActor {
 public:
  // The caller's own reference; the SDK never reads or changes it.
  void* userData = nullptr;

  virtual void raiseBodyFlag(NxBodyFlag flag) = 0;
  virtual bool readBodyFlag(NxBodyFlag flag) const = 0;
  virtual bool isDynamic() const = 0;
  virtual NxMat34 getGlobalPose() const = 0;
  virtual NxVec3 getGlobalPosition() const = 0;
  virtual NxMat33 getGlobalOrientation() const = 0;
  // The setters move the actor at once, without sweeping.
  virtual void setGlobalPosition(const NxVec3& position) = 0;
  virtual void setGlobalOrientation(const NxMat33& orientation) = 0;
  virtual void setLinearVelocity(const NxVec3& velocity) = 0;
  virtual NxVec3 getLinearVelocity() const = 0;

 protected:
  ~NxActor() {}
};

class NxScene {
 public:
  // Null when the descriptor has no shape, a shape is not a triangle mesh
  // or names no mesh.
  virtual NxActor* createActor(const NxActorDesc& desc) = 0;
  virtual NxU32 getNbActors() const = 0;
  virtual NxActor** getActors() = 0;
  // Which contact events the pair reports (NxContactPairFlag bits).
  virtual void setActorPairFlags(NxActor& first, NxActor& second, NxU32 flags) = 0;
  virtual NxU32 getActorPairFlags(NxActor& first, NxActor& second) const = 0;
  virtual void getGravity(NxVec3& gravity) const = 0;

  // A step is simulate, flushStream, fetchResults. simulate advances by
  // fixed sub-steps of the descriptor's maxTimestep, at most maxIter of them;
  // time beyond that is dropped. Contacts are tested once, at the poses after
  // the sub-steps; fetchResults delivers their notifications before it
  // returns.
  virtual void simulate(NxReal elapsedTime) = 0;
  virtual void flushStream() = 0;
  virtual bool fetchResults(NxSimulationStatus status, bool block) = 0;

 protected:
  ~NxScene() {}
};

class NxPhysicsSDK {
 public:
  virtual bool setParameter(NxParameter parameter, NxReal value) = 0;
  virtual NxReal getParameter(NxParameter parameter) const = 0;
  virtual void setMaterialAtIndex(NxU32 index, const NxMaterial* material) = 0;
  virtual bool getMaterialAtIndex(NxU32 index, NxMaterial& material) const = 0;
  virtual NxScene* createScene(const NxSceneDesc& desc) = 0;
  // Null when the descriptor is invalid: strides other than 12, flags other
  // than 0, a null array with a non-zero count, an index past the vertex
  // count, or a triangle corner that is not finite (a point no triangle
  // uses may hold anything).
  virtual NxTriangleMesh* createTriangleMesh(const NxTriangleMeshDesc& desc) = 0;

 protected:
  ~NxPhysicsSDK() {}
};

class NxUserAllocator;
class NxUserOutputStream;

// The SDK, or null for any version but NX_PHYSICS_SDK_VERSION. Every call
// gives the same SDK object.
NxPhysicsSDK* NxCreatePhysicsSDK(NxU32 sdkVersion, NxUserAllocator* allocator = nullptr,
                                 NxUserOutputStream* outputStream = nullptr);

// Computes the pmap of a mesh, a solid voxel map `density` cells along each
// side of the mesh's bounds, into a newly allocated block. False (and an empty
// block) when the mesh has no triangles or the density is out of range.
bool NxCreatePMap(NxPMap& pmap, const NxTriangleMesh& mesh, NxU32 density,
                  NxUserOutputStream* outputStream = nullptr);
// Frees a block filled by NxCreatePMap and empties it.
bool NxReleasePMap(NxPMap& pmap);
