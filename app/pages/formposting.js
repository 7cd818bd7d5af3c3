// Forms with method POST on a stored page: the browser cannot give a "kiv:"
// request its body, so the body goes to the program first, which keeps it for
// the offline address the form posts to; then the form is sent there. A form
// the page's own handlers stop stays stopped.
function postFormsThrough(forms) {
    var nativeSubmit = HTMLFormElement.prototype.submit;
    var posts = function (form) {
        return location.protocol === 'kiv:' && (form.getAttribute('method') || '').toLowerCase() === 'post';
    };
    // Encoded as the browser encodes a form: line breaks as CR LF, a file by its name.
    var lines = function (text) {
        return text.replace(/\r\n|\r|\n/g, '\r\n');
    };
    var encoded = function (form, submitter) {
        var data = new FormData(form), fields = new URLSearchParams();
        if (submitter && submitter.name) data.append(submitter.name, submitter.value);
        data.forEach(function (value, name) {
            fields.append(lines(name), typeof value === 'string' ? lines(value) : value.name);
        });
        return fields.toString();
    };
    var send = function (form, submitter) {
        forms.post(form.getAttribute('action') || '', encoded(form, submitter), function (address) {
            if (address) form.setAttribute('action', address);
            nativeSubmit.call(form);
        });
    };
    var last = function (event) {
        if (event.defaultPrevented || !posts(event.target)) return;
        event.preventDefault();
        send(event.target, event.submitter);
    };
    // Registered anew while each submission is under way, the listener runs
    // after every listener the page has on the window.
    window.addEventListener('submit', function () {
        window.removeEventListener('submit', last);
        window.addEventListener('submit', last);
    }, true);
    HTMLFormElement.prototype.submit = function () {
        if (posts(this)) send(this, null);
        else nativeSubmit.call(this);
    };
}
