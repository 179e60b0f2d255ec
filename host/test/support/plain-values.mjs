// Event arguments as plain JSON data, errors included (a JSON object with the
// error's name, message and the fields a host or the module reads), and back.

const errorFields = ["code", "errno", "syscall", "statusCode"];

/** @param {unknown} value */
export function plain(value) {
  if (!(value instanceof Error)) return value;
  const error = { name: value.name, message: value.message };
  for (const field of errorFields) if (value[field] !== undefined) error[field] = value[field];
  return { error };
}

/** Makes the errors of `plain` Errors again. @param {unknown} value */
export function revive(value) {
  if (value === null || typeof value !== "object" || !("error" in value)) return value;
  const { name, message, ...fields } = value.error;
  const error = Object.assign(new Error(message), fields);
  if (name !== "Error") Object.defineProperty(error, "name", { value: name, configurable: true, writable: true });
  return error;
}
